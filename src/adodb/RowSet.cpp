#include "adodb/RowSet.h"

namespace adodb {

bool StoredValue::operator==(const StoredValue& o) const {
    if (cls != o.cls)
        return false;
    switch (cls) {
    case StorageClass::Null:
        return true;
    case StorageClass::Integer:
        return i == o.i;
    case StorageClass::Real:
        return d == o.d;
    default:
        return bytes == o.bytes;
    }
}

StoredValue CellRef::ToStored() const {
    switch (cls) {
    case StorageClass::Integer:
        return StoredValue::Integer(Int());
    case StorageClass::Real:
        return StoredValue::Real(Real());
    case StorageClass::Text:
        return {StorageClass::Text, 0, 0, Bytes()};
    case StorageClass::Blob:
        return StoredValue::Blob(Bytes());
    default:
        return {};
    }
}

CellInput CellInput::From(const StoredValue& v) {
    CellInput c;
    c.cls = v.cls;
    c.i = v.i;
    c.d = v.d;
    c.data = v.bytes.constData();
    c.size = static_cast<std::uint32_t>(v.bytes.size());
    return c;
}

namespace {
std::uint32_t payloadSize(const CellInput& c) {
    switch (c.cls) {
    case StorageClass::Integer:
    case StorageClass::Real:
        return 8;
    case StorageClass::Text:
    case StorageClass::Blob:
        return c.size;
    default:
        return 0;
    }
}
} // namespace

PackedRow PackedRow::Pack(const CellInput* cells, int count) {
    const std::size_t headerBytes = sizeof(std::uint32_t) * (static_cast<std::size_t>(count) + 2);
    std::size_t total = headerBytes;
    for (int k = 0; k < count; ++k)
        total += 1 + payloadSize(cells[k]);
    PackedRow row;
    row.m_data.reset(new char[total]);
    auto* head = reinterpret_cast<std::uint32_t*>(row.m_data.get());
    head[0] = static_cast<std::uint32_t>(count);
    std::uint32_t offset = static_cast<std::uint32_t>(headerBytes);
    char* base = row.m_data.get();
    for (int k = 0; k < count; ++k) {
        const CellInput& c = cells[k];
        head[k + 1] = offset;
        base[offset] = static_cast<char>(c.cls);
        char* payload = base + offset + 1;
        switch (c.cls) {
        case StorageClass::Integer:
            std::memcpy(payload, &c.i, 8);
            break;
        case StorageClass::Real:
            std::memcpy(payload, &c.d, 8);
            break;
        case StorageClass::Text:
        case StorageClass::Blob:
            if (c.size)
                std::memcpy(payload, c.data, c.size);
            break;
        default:
            break;
        }
        offset += 1 + payloadSize(c);
    }
    head[count + 1] = offset;
    return row;
}

CellRef PackedRow::Cell(int index) const {
    CellRef ref;
    if (!m_data || index < 0 || index >= Count())
        return ref;
    const std::uint32_t* head = header();
    const char* base = m_data.get();
    std::uint32_t begin = head[index + 1];
    std::uint32_t end = head[index + 2];
    ref.cls = static_cast<StorageClass>(base[begin]);
    ref.data = base + begin + 1;
    ref.size = end - begin - 1;
    return ref;
}

PackedRow PackedRow::With(const std::vector<const StoredValue*>& changes) const {
    const int count = Count();
    std::vector<CellInput> cells(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        if (k < static_cast<int>(changes.size()) && changes[k]) {
            cells[k] = CellInput::From(*changes[k]);
            continue;
        }
        CellRef ref = Cell(k);
        CellInput& c = cells[k];
        c.cls = ref.cls;
        if (ref.cls == StorageClass::Integer)
            c.i = ref.Int();
        else if (ref.cls == StorageClass::Real)
            c.d = ref.Real();
        c.data = ref.data;
        c.size = ref.size;
    }
    return Pack(cells.data(), count);
}

} // namespace adodb
