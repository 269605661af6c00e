#include "grid/ColumnLayout.h"

#include "platform/Gbk.h"

#include <algorithm>
#include <cstring>

namespace {

std::int32_t readInt(const QByteArray& bytes, qsizetype at) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData() + at);
    return static_cast<std::int32_t>(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                     std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24);
}

void appendInt(QByteArray& out, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    const char bytes[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF),
                           char((v >> 24) & 0xFF)};
    out.append(bytes, 4);
}

// The text before the first NUL of a field, or FALSE when there is none.
bool nameBeforeNul(const char* data, qsizetype size, QString& name) {
    const void* nul = std::memchr(data, 0, static_cast<size_t>(size));
    if (!nul)
        return false;
    name = FromGbk(QByteArray(data, static_cast<const char*>(nul) - data));
    return true;
}

} // namespace

ColumnLayout ParseColumnLayout(const QByteArray& bytes) {
    ColumnLayout layout;
    if (bytes.size() < 12)
        return layout;
    const std::int32_t n = readInt(bytes, 8);
    if (n < 0 || n > bytes.size() - 12)
        return layout;
    layout.lastSelectedKey = readInt(bytes, 0);
    layout.ascending = readInt(bytes, 4);
    layout.hasHeader = true;
    if (n == 0)
        return layout; // no sort name, and so no records
    if (!nameBeforeNul(bytes.constData() + 12, n, layout.sortColumn))
        layout.sortColumn = FromGbk(bytes.mid(12, n));
    for (qsizetype at = 12 + n; at + kColumnRecordSize <= bytes.size(); at += kColumnRecordSize) {
        ColumnRecord record;
        if (!nameBeforeNul(bytes.constData() + at, kColumnNameSize, record.name))
            continue;
        record.width = std::clamp(readInt(bytes, at + kColumnNameSize), 0, kMaxColumnWidth);
        layout.columns.push_back(record);
    }
    return layout;
}

QByteArray SerializeColumnLayout(const ColumnLayout& layout) {
    QByteArray out;
    appendInt(out, layout.lastSelectedKey);
    appendInt(out, layout.ascending);
    const QByteArray sort = ToGbk(layout.sortColumn);
    appendInt(out, static_cast<std::int32_t>(sort.size() + 1));
    out.append(sort);
    out.append('\0');
    for (const ColumnRecord& c : layout.columns) {
        QByteArray record(kColumnRecordSize, '\0');
        // At most 255 bytes, so that the NUL always follows.
        const QByteArray name = ToGbk(GbkLeft(c.name, kColumnNameSize - 1)).left(kColumnNameSize - 1);
        std::memcpy(record.data(), name.constData(), static_cast<size_t>(name.size()));
        QByteArray width;
        appendInt(width, c.width);
        std::memcpy(record.data() + kColumnNameSize, width.constData(), 4);
        out.append(record);
    }
    return out;
}
