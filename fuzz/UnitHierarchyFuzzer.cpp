// Unit hierarchy files from anywhere: the tree always has its root and every parent comes
// before its children; the preview of the same text holds the same promise.

#include "platform/TextFile.h"
#include "records/UnitHierarchy.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {
void check(const std::vector<UnitItem>& items) {
    for (size_t k = 0; k < items.size(); ++k)
        if (items[k].parent >= static_cast<int>(k) || items[k].parent < -1)
            std::abort();
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
    const UnitPreview preview = BuildUnitPreview(text, text.left(text.size() / 2));
    check(preview.items);
    if (preview.selected >= static_cast<int>(preview.items.size()))
        std::abort();
    return 0;
}
