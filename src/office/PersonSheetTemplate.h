#pragma once
// "人员情况表.dot": the person sheet's template, an Office Open XML template (under the .dot
// name the program looks for) whose first table holds the labels: rows 1 to 14, the photo
// cell (1,7) spanning rows 1 to 5, row 6 a heading.

#include <QByteArray>

QByteArray PersonSheetTemplate();
