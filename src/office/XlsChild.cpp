#include "office/XlsChild.h"

#include "office/XlsFrames.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

using namespace xlsframes;

extern char** environ;

namespace {

class FrameReader {
public:
    explicit FrameReader(const QByteArray& frame) : m_frame(frame) {}
    template <class T> bool get(T& value) {
        if (m_at + static_cast<qsizetype>(sizeof value) > m_frame.size())
            return false;
        std::memcpy(&value, m_frame.constData() + m_at, sizeof value);
        m_at += sizeof value;
        return true;
    }
    bool getText(QString& text) {
        std::uint32_t length = 0;
        if (!get(length) || length > static_cast<std::uint32_t>(m_frame.size() - m_at))
            return false;
        text = QString::fromUtf8(m_frame.constData() + m_at, static_cast<qsizetype>(length));
        m_at += length;
        return true;
    }

private:
    const QByteArray& m_frame;
    qsizetype m_at = 1; // past the kind
};

// vrin-xlsread: named by VRIN_XLSREAD, else beside the program, else where it was built.
QString readerProgram() {
    const QString named = qEnvironmentVariable("VRIN_XLSREAD");
    if (!named.isEmpty())
        return named;
    if (QCoreApplication::instance()) {
        const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/vrin-xlsread");
        if (QFileInfo(beside).isExecutable())
            return beside;
    }
    return QStringLiteral(VRIN_XLSREAD);
}

} // namespace

XlsChild::~XlsChild() {
    Stop();
}

void XlsChild::Stop() {
    if (m_socket >= 0)
        ::close(m_socket);
    m_socket = -1;
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        while (::waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    m_pid = -1;
}

bool XlsChild::stopWith(const QString& why, QString* error) {
    Stop();
    if (error)
        *error = why;
    return false;
}

bool XlsChild::Start(const QString& path, QString* error) {
    auto fail = [&](const QString& why) { return stopWith(why, error); };
    const QByteArray program = QFile::encodeName(readerProgram());
    const QByteArray file = QFile::encodeName(path);
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0)
        return fail(QStringLiteral("无法启动读取 .xls 文件的程序"));
    if (pair[1] == kSocketFd) { // dup2 onto itself would leave it closing on exec
        const int moved = ::fcntl(pair[1], F_DUPFD_CLOEXEC, kSocketFd + 1);
        ::close(pair[1]);
        pair[1] = moved;
        if (moved < 0) {
            ::close(pair[0]);
            return fail(QStringLiteral("无法启动读取 .xls 文件的程序"));
        }
    }
    // Spawned, not forked: nothing of this process is copied. The socket's other end
    // becomes its descriptor 3.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pair[1], kSocketFd);
    char* argv[] = {const_cast<char*>(program.constData()), const_cast<char*>(file.constData()), nullptr};
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, program.constData(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pair[1]);
    m_socket = pair[0];
    if (spawned != 0)
        return fail(QStringLiteral("无法启动读取 .xls 文件的程序 %1").arg(QString::fromLocal8Bit(program)));
    m_pid = pid;
    return true;
}

bool XlsChild::ReceiveNames(QString* error) {
    auto fail = [&](const QString& why) { return stopWith(why, error); };
    QByteArray frame;
    if (!receive(frame))
        return fail(QStringLiteral("不是 Excel 工作簿，或已损坏"));
    if (frame.at(0) == Kind::Error)
        return fail(frame.size() > 1 && frame.at(1) == static_cast<char>(ErrorCode::PasswordProtected) ? QStringLiteral("工作簿有密码保护")
                                                         : QStringLiteral("不是 Excel 工作簿"));
    FrameReader in(frame);
    std::uint16_t count = 0;
    if (frame.at(0) != Kind::Names || !in.get(count))
        return fail(QStringLiteral("不是 Excel 工作簿，或已损坏"));
    for (std::uint16_t k = 0; k < count; ++k) {
        QString name;
        if (!in.getText(name))
            return fail(QStringLiteral("不是 Excel 工作簿，或已损坏"));
        m_names << name;
    }
    return true;
}

bool XlsChild::receive(QByteArray& frame) {
    for (;;) {
        if (m_buffer.size() >= 4) {
            std::uint32_t length = 0;
            std::memcpy(&length, m_buffer.constData(), 4);
            if (length == 0 || length > static_cast<std::uint32_t>(kMaxFrame))
                return false;
            if (m_buffer.size() >= 4 + static_cast<qsizetype>(length)) {
                frame = m_buffer.mid(4, length);
                m_buffer.remove(0, 4 + length);
                return true;
            }
        }
        if (m_socket < 0)
            return false;
        pollfd p{m_socket, POLLIN, 0};
        const int ready = ::poll(&p, 1, kSilenceMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false; // hung, or the socket failed
        char piece[1 << 16];
        const ssize_t n = ::recv(m_socket, piece, sizeof piece, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false; // the process ended: FreeXL failed on the file
        m_buffer.append(piece, n);
    }
}

bool XlsChild::ReadSheet(int index,
                         const std::function<bool(unsigned int row, const std::vector<XlsCell>& cells)>& callback) {
    if (m_socket < 0 || index < 0)
        return false;
    const auto request = static_cast<std::uint32_t>(index);
    if (::send(m_socket, &request, sizeof request, MSG_NOSIGNAL) != static_cast<ssize_t>(sizeof request)) {
        Stop();
        return false;
    }
    std::vector<XlsCell> cells;
    QByteArray frame;
    for (;;) {
        if (!receive(frame)) {
            Stop();
            return false;
        }
        if (frame.at(0) == Kind::Done)
            return true;
        if (frame.at(0) != Kind::Row) {
            if (frame.at(0) != Kind::NoSheet)
                Stop();
            return false;
        }
        FrameReader in(frame);
        std::uint32_t row = 0;
        std::uint16_t columns = 0, count = 0;
        if (!in.get(row) || !in.get(columns) || !in.get(count)) {
            Stop();
            return false;
        }
        cells.assign(columns, XlsCell());
        for (std::uint16_t k = 0; k < count; ++k) {
            std::uint16_t column = 0;
            std::uint8_t type = 0;
            XlsCell cell;
            bool ok = in.get(column) && in.get(type) && column < columns;
            if (ok && type == CellType::Integer)
                ok = in.get(cell.integer);
            else if (ok && type == CellType::Real)
                ok = in.get(cell.real);
            else if (ok && type == CellType::Text)
                ok = in.getText(cell.text);
            else
                ok = false;
            if (!ok) {
                Stop();
                return false;
            }
            cell.type = static_cast<XlsCell::Type>(type);
            cells[column] = std::move(cell);
        }
        if (!callback(row, cells)) {
            Stop(); // the rest of the sheet is not wanted: the process is ended mid-sheet
            return true;
        }
    }
}
