#include "records/UnitHierarchy.h"

#include "platform/Gbk.h"
#include "platform/TextFile.h"

#include <QSet>

namespace {

const QString kWholeCommunity = QStringLiteral("全部");

// The characters GBK writes with the lead byte 0xA1 (the full-width space among them).
bool hasLeadA1(QChar c) {
    static const QSet<char16_t> set = [] {
        QSet<char16_t> chars;
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            const char bytes[2] = {char(0xA1), char(trail)};
            const QString one = FromGbk(QByteArray(bytes, 2));
            if (one.size() == 1 && one.at(0) != QChar(0xFFFD))
                chars.insert(one.at(0).unicode());
        }
        return chars;
    }();
    return set.contains(c.unicode());
}

QString withoutLeadingSpaces(const QString& s) {
    qsizetype i = 0;
    while (i < s.size() && s.at(i) == QLatin1Char(' '))
        ++i;
    return s.mid(i);
}

QString withoutTrailingSpaces(const QString& s) {
    qsizetype end = s.size();
    while (end > 0 && s.at(end - 1) == QLatin1Char(' '))
        --end;
    return s.left(end);
}

QString withoutLeadingA1(const QString& s) {
    qsizetype i = 0;
    while (i < s.size() && hasLeadA1(s.at(i)))
        ++i;
    return s.mid(i);
}

// The level rule shared by the tree and the preview: the parent of a new item of
// indentation width d after the item last (level counted in steps, not widths).
class Placer {
public:
    explicit Placer(std::vector<UnitItem>& items, int root)
        : m_items(items), m_parent(root), m_last(root) {}

    void Add(const QString& name, int d) {
        if (d > m_level) {
            m_parent = m_last;
            ++m_level;
        } else if (d < m_level) {
            m_parent = parentOf(m_last);
            for (int k = 0; k < m_level - d; ++k)
                m_parent = parentOf(m_parent);
            m_level = d;
        }
        m_items.push_back({name, m_parent});
        m_last = static_cast<int>(m_items.size()) - 1;
    }
    int Last() const { return m_last; }

private:
    int parentOf(int item) const { return item < 0 ? -1 : m_items[static_cast<size_t>(item)].parent; }

    std::vector<UnitItem>& m_items;
    int m_level = 0;
    int m_parent;
    int m_last;
};

} // namespace

UnitTree MissingUnitHierarchy() {
    UnitTree tree;
    tree.items.push_back({kWholeCommunity, -1});
    return tree;
}

UnitTree ParseUnitHierarchy(const QByteArray& fileBytes) {
    QString text = DecodeTextFileBytes(fileBytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); // text mode
    const QStringList lines = text.split(QLatin1Char('\n'));
    UnitTree tree;
    QString root = withoutLeadingSpaces(lines.value(0));
    tree.items.push_back({root.isEmpty() ? kWholeCommunity : root, -1});
    Placer placer(tree.items, 0);
    for (qsizetype k = 1; k < lines.size(); ++k) {
        const QString line = withoutTrailingSpaces(lines[k]);
        const QString name = withoutLeadingA1(withoutLeadingSpaces(line));
        if (name.isEmpty())
            continue;
        const int d = GbkLength(line) - GbkLength(name);
        if (d == 0)
            continue; // an unindented line after the first is no unit
        placer.Add(name, d);
    }
    return tree;
}

namespace {

// The lines of the editor's text as the preview cuts them: at CR LF, LF and ",", empty
// ones dropped; each with where it starts in the text.
struct Token {
    qsizetype start, size;
};

std::vector<Token> previewTokens(const QString& text) {
    std::vector<Token> tokens;
    qsizetype start = 0;
    auto cut = [&](qsizetype end) {
        if (end > start)
            tokens.push_back({start, end - start});
    };
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u',' || c == u'\n') {
            cut(i);
            start = i + 1;
        } else if (c == u'\r' && i + 1 < n && text.at(i + 1) == QLatin1Char('\n')) {
            cut(i);
            start = i + 2;
            ++i;
        }
    }
    cut(n);
    return tokens;
}

// Which lines of a text occur somewhere in the previous text, asked from the last line up.
// Lines inside the part both texts share at their start or their end are there without a
// search; so are the previous text's own lines. Only what the edit changed is searched for.
class PreviousText {
public:
    PreviousText(const QString& text, const QString& previous) : m_text(text), m_previous(previous) {
        const qsizetype most = std::min(text.size(), previous.size());
        while (m_prefix < most && text.at(m_prefix) == previous.at(m_prefix))
            ++m_prefix;
        while (m_suffix < most - m_prefix &&
               text.at(text.size() - 1 - m_suffix) == previous.at(previous.size() - 1 - m_suffix))
            ++m_suffix;
    }
    bool Holds(const Token& token) {
        if (token.start + token.size <= m_prefix || token.start >= m_text.size() - m_suffix)
            return true;
        const QStringView line = QStringView(m_text).mid(token.start, token.size);
        if (!m_linesRead) {
            for (const Token& t : previewTokens(m_previous))
                m_lines.insert(QStringView(m_previous).mid(t.start, t.size));
            m_linesRead = true;
        }
        return m_lines.contains(line) || m_previous.contains(line);
    }

private:
    const QString& m_text;
    const QString& m_previous;
    qsizetype m_prefix = 0, m_suffix = 0;
    bool m_linesRead = false;
    QSet<QStringView> m_lines;
};

} // namespace

UnitPreview BuildUnitPreview(const QString& text, const QString& previousText) {
    const std::vector<Token> tokens = previewTokens(text);
    UnitPreview preview;
    if (tokens.empty())
        return preview;
    preview.items.push_back({text.mid(tokens.front().start, tokens.front().size), -1});
    preview.selected = 0;
    Placer placer(preview.items, 0);
    std::vector<std::pair<size_t, int>> placed; // token, item
    placed.reserve(tokens.size());
    for (size_t k = 1; k < tokens.size(); ++k) {
        const QString token = text.mid(tokens[k].start, tokens[k].size);
        const QString name = withoutLeadingA1(withoutLeadingSpaces(token));
        if (name.isEmpty())
            continue;
        placer.Add(name, GbkLength(token) - GbkLength(name));
        placed.emplace_back(k, placer.Last());
    }
    // The selection: the last item whose line is nowhere in the previous text.
    PreviousText previous(text, previousText);
    for (auto it = placed.rbegin(); it != placed.rend(); ++it)
        if (!previous.Holds(tokens[it->first])) {
            preview.selected = it->second;
            break;
        }
    return preview;
}

QString UnitPathOf(const std::vector<UnitItem>& items, int item) {
    if (item <= 0 || item >= static_cast<int>(items.size()) ||
        items[static_cast<size_t>(item)].name.isEmpty())
        return QString();
    QString path;
    for (int i = item; i > 0; i = items[static_cast<size_t>(i)].parent)
        path.prepend(items[static_cast<size_t>(i)].name);
    return path;
}
