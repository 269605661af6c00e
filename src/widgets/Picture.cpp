#include "widgets/Picture.h"

#include "platform/MessageService.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"
#include "widgets/MainWindow.h"

#include <QFile>
#include <QFileInfo>
#include <QWidget>

#include <cmath>
#include <limits>

namespace {

const QString kCaption = QStringLiteral("CPicture Error");

void pictureError(const QString& text) {
    MessageBox(AfxGetMainWnd(), text, kCaption, MB_OK | MB_ICONSTOP);
}

// The framework's English text for a file that would not open or could not be created.
QString fileErrorText(const QString& path, const QFile& file) {
    switch (file.error()) {
    case QFileDevice::OpenError:
        if (!QFileInfo::exists(file.fileName()))
            return path + QStringLiteral(" was not found.");
        return QStringLiteral("Access to ") + path + QStringLiteral(" was denied.");
    case QFileDevice::PermissionsError:
        return QStringLiteral("Access to ") + path + QStringLiteral(" was denied.");
    case QFileDevice::ResourceError:
        return QStringLiteral("The disk is full while accessing ") + path + QStringLiteral(".");
    default:
        return QStringLiteral("An unknown error occurred while accessing ") + path +
               QStringLiteral(".");
    }
}

constexpr int kHimetricPerInch = 2540;
constexpr int kScreenDpi = 96;

} // namespace

int MulDiv(int value, int numerator, int denominator) {
    if (denominator == 0)
        return -1;
    return static_cast<int>(std::llround(static_cast<double>(value) * numerator / denominator));
}

CPicture::CPicture() = default;

CPicture::~CPicture() {
    FreePicture();
}

void CPicture::FreePicture() {
    m_pPicture.reset();
    m_bytes.clear();
    m_nHeight = 0;
    m_nSize = 0;
    m_nWidth = 0;
}

QSize CPicture::HimetricSize() const {
    if (!m_pPicture)
        return QSize();
    return QSize(MulDiv(m_pPicture->width(), kHimetricPerInch, kScreenDpi),
                 MulDiv(m_pPicture->height(), kHimetricPerInch, kScreenDpi));
}

bool CPicture::LoadFromBuffer(const char* bytes, qint64 count) {
    if (!bytes || count < 0 || count > std::numeric_limits<int>::max()) {
        pictureError(QStringLiteral("Can not allocate enough memory\t"));
        return false;
    }
    QByteArray copy(bytes, static_cast<qsizetype>(count));
    auto image = std::make_unique<QImage>();
    if (image->loadFromData(copy) && !image->isNull()) {
        m_pPicture = std::move(image);
        m_bytes = copy;
    } else {
        m_pPicture.reset(); // the callers look at the picture, not at the result
    }
    return true;
}

bool CPicture::LoadFromFile(const QString& path) {
    FreePicture();
    QFile file(LocalPath(path));
    if (!file.open(QIODevice::ReadOnly)) {
        pictureError(fileErrorText(path, file));
        return false;
    }
    QByteArray bytes = file.readAll();
    file.close();
    LoadFromBuffer(bytes.constData(), bytes.size());
    m_nSize = static_cast<qint32>(bytes.size());
    if (!m_pPicture) {
        m_nWidth = m_nHeight = 0;
        return false;
    }
    QSize himetric = HimetricSize();
    m_nWidth = MulDiv(himetric.width(), kScreenDpi, kHimetricPerInch);
    m_nHeight = MulDiv(himetric.height(), kScreenDpi, kHimetricPerInch);
    return true;
}

bool CPicture::Draw(CDC* dc, const QRect& rect) {
    if (!dc || !m_pPicture)
        return false;
    if (!dc->StretchImage(rect, *m_pPicture)) {
        pictureError(QStringLiteral("Can not allocate enough memory\t"));
        return false;
    }
    return true;
}

bool CPicture::RefreshSize(CDC* dc) {
    if (!dc || !m_pPicture) {
        m_nWidth = m_nHeight = 0;
        return false;
    }
    const int p = dc->IsPrinting() ? kScreenDpi : dc->LogPixelsX();
    const int q = dc->IsPrinting() ? kScreenDpi : dc->LogPixelsY();
    QSize himetric = HimetricSize();
    m_nWidth = MulDiv(himetric.width(), p, kHimetricPerInch);
    m_nHeight = MulDiv(himetric.height(), q, kHimetricPerInch);
    return true;
}

bool CPicture::SaveToFile(const QString& path) {
    if (!m_pPicture)
        return false;
    if (!WriteFileAtomic(path, m_bytes)) {
        const bool folderExists = QFileInfo(QFileInfo(LocalPath(path)).absolutePath()).isDir();
        pictureError(folderExists
                         ? QStringLiteral("Access to ") + path + QStringLiteral(" was denied.")
                         : path + QStringLiteral(" contains an incorrect path."));
        return false;
    }
    return true;
}
