#include "platform/Clock.h"

#include <QDate>

namespace {
int s_year = 0;
}

int CurrentYear() {
    return s_year > 0 ? s_year : QDate::currentDate().year();
}

void SetCurrentYear(int year) {
    s_year = year;
}
