#pragma once
// The unit hierarchy shown in a tree control, and the path of a tree item.

#include "records/UnitHierarchy.h"

class CXTreeCtrl;
class QTreeWidgetItem;

// Replaces the tree's items with these and returns them in the same order (the root
// first). Unit items get the tree's folder images, the root none.
std::vector<QTreeWidgetItem*> FillUnitTree(CXTreeCtrl* tree, const std::vector<UnitItem>& items);

// The names of the item's ancestors below the root and its own, joined; empty for the root
// and for an item without a name.
QString UnitPath(const QTreeWidgetItem* item, const QTreeWidgetItem* root);
