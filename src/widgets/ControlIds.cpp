#include "widgets/ControlIds.h"

#include <QVariant>

void SetControlId(QWidget* control, int id) {
    control->setProperty(kControlIdProperty, id);
}

int ControlId(const QWidget* control) {
    QVariant id = control ? control->property(kControlIdProperty) : QVariant();
    return id.isValid() ? id.toInt() : 0;
}

QWidget* FindControl(const QWidget* parent, int id) {
    if (!parent)
        return nullptr;
    const QList<QWidget*> children = parent->findChildren<QWidget*>();
    for (QWidget* child : children)
        if (ControlId(child) == id)
            return child;
    return nullptr;
}
