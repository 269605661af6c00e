#include "grid/GridRows.h"

#include <QSet>

void GridRows::Reset(int fieldColumns) {
    m_fields = fieldColumns;
    m_keys.clear();
    m_numbers.clear();
    m_texts.clear();
    m_ends.clear();
    m_index.clear();
    m_indexValidTo = 0;
}

int GridRows::Find(std::int32_t key) const {
    auto it = m_index.constFind(key);
    if (it == m_index.constEnd())
        return -1;
    if (*it >= m_indexValidTo)
        reindexFrom(m_indexValidTo);
    return m_index.value(key, -1);
}

void GridRows::reindexFrom(int row) const {
    for (int r = row; r < Count(); ++r)
        m_index[m_keys[static_cast<size_t>(r)]] = r;
    m_indexValidTo = Count();
}

QString GridRows::Text(int row, int field) const {
    if (row < 0 || row >= Count() || field < 0 || field >= m_fields)
        return QString();
    const size_t base = static_cast<size_t>(row) * static_cast<size_t>(m_fields);
    const std::uint32_t begin = field == 0 ? 0 : m_ends[base + static_cast<size_t>(field) - 1];
    const std::uint32_t end = m_ends[base + static_cast<size_t>(field)];
    return m_texts[static_cast<size_t>(row)].mid(static_cast<qsizetype>(begin),
                                                 static_cast<qsizetype>(end - begin));
}

void GridRows::pack(QString& into, std::vector<std::uint32_t>::iterator ends,
                    const QStringList& texts) {
    qsizetype total = 0;
    for (const QString& t : texts)
        total += t.size();
    into = QString(total, Qt::Uninitialized);
    QChar* out = into.data();
    qsizetype at = 0;
    for (int f = 0; f < m_fields; ++f) {
        if (f < texts.size()) {
            const QString& t = texts[f];
            std::copy(t.constBegin(), t.constEnd(), out + at);
            at += t.size();
        }
        *(ends + f) = static_cast<std::uint32_t>(at);
    }
    into.truncate(at);
}

void GridRows::Append(std::int32_t key, const QStringList& texts) {
    const int row = Count();
    m_keys.push_back(key);
    m_numbers.push_back(row + 1);
    m_texts.emplace_back();
    m_ends.resize(m_ends.size() + static_cast<size_t>(m_fields));
    pack(m_texts.back(), m_ends.end() - m_fields, texts);
    m_index.insert(key, row);
    if (m_indexValidTo == row)
        m_indexValidTo = row + 1;
}

void GridRows::Replace(int row, int number, const QStringList& texts) {
    m_numbers[static_cast<size_t>(row)] = number;
    pack(m_texts[static_cast<size_t>(row)],
         m_ends.begin() + static_cast<std::ptrdiff_t>(row) * m_fields, texts);
}

void GridRows::Remove(int row) {
    const auto r = static_cast<std::ptrdiff_t>(row);
    m_index.remove(m_keys[static_cast<size_t>(row)]);
    m_keys.erase(m_keys.begin() + r);
    m_numbers.erase(m_numbers.begin() + r);
    m_texts.erase(m_texts.begin() + r);
    m_ends.erase(m_ends.begin() + r * m_fields, m_ends.begin() + (r + 1) * m_fields);
    m_indexValidTo = std::min(m_indexValidTo, row);
}

void GridRows::RemoveKeys(const std::vector<std::int32_t>& keys) {
    QSet<std::int32_t> gone;
    gone.reserve(static_cast<qsizetype>(keys.size()));
    for (std::int32_t k : keys)
        gone.insert(k);
    size_t to = 0;
    const size_t n = m_keys.size(), f = static_cast<size_t>(m_fields);
    for (size_t from = 0; from < n; ++from) {
        if (gone.contains(m_keys[from])) {
            m_index.remove(m_keys[from]);
            continue;
        }
        if (to != from) {
            m_keys[to] = m_keys[from];
            m_numbers[to] = m_numbers[from];
            m_texts[to] = std::move(m_texts[from]);
            std::copy(m_ends.begin() + static_cast<std::ptrdiff_t>(from * f),
                      m_ends.begin() + static_cast<std::ptrdiff_t>((from + 1) * f),
                      m_ends.begin() + static_cast<std::ptrdiff_t>(to * f));
        }
        ++to;
    }
    m_keys.resize(to);
    m_numbers.resize(to);
    m_texts.resize(to);
    m_ends.resize(to * f);
    m_indexValidTo = 0;
    reindexFrom(0);
}
