#pragma once
// The document of the single-document window: it holds no data.

#include <QObject>

class CVRINDoc : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
};
