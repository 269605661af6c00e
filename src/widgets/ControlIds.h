#pragma once
// Numeric control ids, as dialogs and tests reach controls: each control carries its id in
// the property "ctrlId" (set in the .ui file or with SetControlId).

#include <QWidget>

inline constexpr const char* kControlIdProperty = "ctrlId";

void SetControlId(QWidget* control, int id);
int ControlId(const QWidget* control); // 0 when none
// The first descendant of parent with this id, or null.
QWidget* FindControl(const QWidget* parent, int id);
