// Unit hierarchy files from anywhere: the tree always has its root and every parent comes
// before its children; the preview of the same text holds the same promise.

#include "platform/TextFile.h"
#include "records/UnitHierarchy.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {
void check(const std::vector<UnitItem>& items) {
    for (size_t k = 0; k < items.size(); ++k)
        if (items[k].parent >= static_cast<int>(k) || items[k].parent < -1)
            std::abort();
}

// The preview's selection by its plain rule, searching the previous text for every line:
// the last item whose line occurs nowhere in it. A line made an item when the item's name
// ends it (a line of blanks alone makes none).
int plainSelection(const QString& text, const QString& previous, const std::vector<UnitItem>& items) {
    QString copy = text;
    copy.replace(QStringLiteral("\r\n"), QStringLiteral(","));
    copy.replace(QLatin1Char('\n'), QLatin1Char(','));
    const QStringList tokens = copy.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (tokens.isEmpty())
        return -1;
    int selected = 0;
    size_t item = 1;
    for (qsizetype k = 1; k < tokens.size(); ++k) {
        if (item >= items.size() || !tokens[k].endsWith(items[item].name))
            continue;
        if (!previous.contains(tokens[k]))
            selected = static_cast<int>(item);
        ++item;
    }
    return selected;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const UnitTree tree = ParseUnitHierarchy(bytes);
    if (tree.items.empty() || tree.items[0].parent != -1)
        std::abort();
    check(tree.items);
    for (size_t k = 0; k < tree.items.size(); ++k)
        UnitPathOf(tree.items, static_cast<int>(k));
    const QString text = DecodeTextFileBytes(bytes);
    for (const QString& previous : {text.left(text.size() / 2), text.mid(text.size() / 3), text}) {
        const UnitPreview preview = BuildUnitPreview(text, previous);
        check(preview.items);
        if (preview.selected >= static_cast<int>(preview.items.size()))
            std::abort();
        if (preview.selected != plainSelection(text, previous, preview.items))
            std::abort();
    }
    return 0;
}
