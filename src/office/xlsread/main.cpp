// vrin-xlsread: FreeXL in a process of its own. The program starts it on a .xls file with a
// socket as descriptor 3 (see office/XlsFrames.h); a file on which FreeXL faults ends this
// process only.
//
//   vrin-xlsread <file>

#include "office/XlsFrames.h"

#include <freexl.h>

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

using namespace xlsframes;

namespace {

template <class T> void put(std::string& out, T value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void putText(std::string& out, const char* text) {
    const auto length = static_cast<std::uint32_t>(text ? std::strlen(text) : 0);
    put(out, length);
    out.append(text ? text : "", length);
}

bool writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Appends a frame whose contents start at `at` (where its length goes).
void closeFrame(std::string& out, size_t at) {
    const auto length = static_cast<std::uint32_t>(out.size() - at - 4);
    std::memcpy(&out[at], &length, 4);
}

size_t openFrame(std::string& out, char kind) {
    const size_t at = out.size();
    put<std::uint32_t>(out, 0);
    out.push_back(kind);
    return at;
}

void sendSheet(int fd, const void* handle, std::uint32_t index) {
    std::string out;
    if (index > 0xFFFF || freexl_select_active_worksheet(handle, static_cast<unsigned short>(index)) != FREEXL_OK) {
        closeFrame(out, openFrame(out, Kind::NoSheet));
        writeAll(fd, out);
        return;
    }
    unsigned int rows = 0;
    unsigned short columns = 0;
    freexl_worksheet_dimensions(handle, &rows, &columns);
    // A BIFF8 sheet has 65 536 rows of 256 columns; a corrupt file may claim more.
    rows = std::min(rows, 65536u);
    columns = std::min<unsigned short>(columns, 256);
    for (unsigned int r = 0; r < rows; ++r) {
        const size_t frame = openFrame(out, Kind::Row);
        put<std::uint32_t>(out, r);
        put<std::uint16_t>(out, columns);
        const size_t countAt = out.size();
        put<std::uint16_t>(out, 0);
        std::uint16_t count = 0;
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue cell;
            if (freexl_get_cell_value(handle, r, c, &cell) != FREEXL_OK)
                continue;
            switch (cell.type) {
            case FREEXL_CELL_INT:
                put<std::uint16_t>(out, c);
                out.push_back(static_cast<char>(CellType::Integer));
                put<std::int64_t>(out, cell.value.int_value);
                break;
            case FREEXL_CELL_DOUBLE:
                put<std::uint16_t>(out, c);
                out.push_back(static_cast<char>(CellType::Real));
                put<double>(out, cell.value.double_value);
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME:
                put<std::uint16_t>(out, c);
                out.push_back(static_cast<char>(CellType::Text));
                putText(out, cell.value.text_value);
                break;
            default:
                continue;
            }
            ++count;
        }
        std::memcpy(&out[countAt], &count, sizeof count);
        closeFrame(out, frame);
        if (out.size() >= (1u << 16)) {
            if (!writeAll(fd, out))
                return;
            out.clear();
        }
    }
    closeFrame(out, openFrame(out, Kind::Done));
    writeAll(fd, out);
}

int sendError(int fd, ErrorCode code) {
    std::string out;
    const size_t at = openFrame(out, Kind::Error);
    out.push_back(static_cast<char>(code));
    closeFrame(out, at);
    writeAll(fd, out);
    return 0;
}

int serve(const char* path, int fd) {
    const void* handle = nullptr;
    if (freexl_open(path, &handle) != FREEXL_OK)
        return sendError(fd, ErrorCode::NotOpened);
    unsigned int password = 0;
    freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &password);
    if (password == FREEXL_BIFF_OBFUSCATED)
        return sendError(fd, ErrorCode::PasswordProtected);
    std::string out;
    unsigned int count = 0;
    freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &count);
    count = std::min(count, 0xFFFFu);
    const size_t at = openFrame(out, Kind::Names);
    put<std::uint16_t>(out, static_cast<std::uint16_t>(count));
    for (unsigned int k = 0; k < count; ++k) {
        const char* name = nullptr;
        freexl_get_worksheet_name(handle, static_cast<unsigned short>(k), &name);
        putText(out, name);
    }
    closeFrame(out, at);
    if (!writeAll(fd, out))
        return 0;
    for (;;) {
        std::uint32_t index = 0;
        size_t got = 0;
        while (got < sizeof index) {
            const ssize_t n = ::recv(fd, reinterpret_cast<char*>(&index) + got, sizeof index - got, 0);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return 0; // the program is done with the file
            got += static_cast<size_t>(n);
        }
        sendSheet(fd, handle, index);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "用法：vrin-xlsread <文件>（由程序启动，套接字为描述符 3）\n");
        return 2;
    }
    return serve(argv[1], kSocketFd);
}
