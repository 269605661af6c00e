#include "app/units/UnitTree.h"

#include "app/shell/VRINApp.h"
#include "platform/TextFile.h"
#include "widgets/XTreeCtrl.h"

std::vector<QTreeWidgetItem*> FillUnitTree(CXTreeCtrl* tree, const std::vector<UnitItem>& items) {
    tree->clear();
    std::vector<QTreeWidgetItem*> made;
    made.reserve(items.size());
    for (size_t k = 0; k < items.size(); ++k) {
        const UnitItem& unit = items[k];
        QTreeWidgetItem* item =
            unit.parent < 0 ? new QTreeWidgetItem(tree)
                            : new QTreeWidgetItem(made[static_cast<size_t>(unit.parent)]);
        item->setText(0, unit.name);
        if (k > 0)
            item->setIcon(0, tree->FolderIcon());
        made.push_back(item);
    }
    return made;
}

QString UnitPath(const QTreeWidgetItem* item, const QTreeWidgetItem* root) {
    if (!item || item == root || item->text(0).isEmpty())
        return QString();
    QString path;
    for (const QTreeWidgetItem* i = item; i && i != root; i = i->parent())
        path.prepend(i->text(0));
    return path;
}

void CVRINApp::LoadUnitTree(CXTreeCtrl* tree, QTreeWidgetItem*& root, const QString& path) {
    QByteArray bytes;
    const UnitTree units =
        ReadFileBytes(path, bytes) ? ParseUnitHierarchy(bytes) : MissingUnitHierarchy();
    root = FillUnitTree(tree, units.items).front();
}
