#include "app/users/Rights.h"

#include "records/ResidentCatalogue.h"

int g_nUserRight = 0;

bool IsAdministrator(int right) {
    return right == kAdministratorRight;
}

bool MayModify(int right) {
    return right == kAdministratorRight || (right & kRightModify) != 0;
}
