#pragma once

#include <QTreeWidget>
#include <QVariant>
#include <functional>

namespace corvane {

// A tree with searches: a walk of an item and what lies below it that asks a callback of each
// item, and the family relations of two items.
class CVorlinTreeCtrl : public QTreeWidget {
    Q_OBJECT

public:
    // Flags of FindItem.
    static constexpr int kSkipStart = 1;   // the start item itself is not asked
    static constexpr int kDepthFirst = 2;  // else level by level
    static constexpr int kFirstMatch = 4;  // the first item the callback accepts ends the walk
    static constexpr int kFirstLevel = 8;  // nothing below the start item's children

    // Whether an item is the one looked for; user: the value the caller gave FindItem.
    using FindCallback = std::function<bool(const CVorlinTreeCtrl& tree, QTreeWidgetItem* item,
                                            const QVariant& user)>;

    explicit CVorlinTreeCtrl(QWidget* parent = nullptr);

    // Asks the callback of the start item (a null start: the whole tree, as the items' common
    // parent) and of the items below it. With kFirstMatch the first item it accepts, otherwise
    // none once every item was asked.
    QTreeWidgetItem* FindItem(QTreeWidgetItem* start, const FindCallback& callback,
                              const QVariant& user, int flags) const;
    // The items on the path from the item up to the top, the item included; 0 for none.
    static int GetDepth(const QTreeWidgetItem* item);
    static bool IsParentOf(const QTreeWidgetItem* parent, const QTreeWidgetItem* item);
    static bool IsAncestorOf(const QTreeWidgetItem* ancestor, const QTreeWidgetItem* item);
    // Both have the same parent (top-level items have none).
    static bool AreSiblings(const QTreeWidgetItem* a, const QTreeWidgetItem* b);

    // Callbacks: the item's text (column 0) equals the user value; its data (Qt::UserRole of
    // column 0) equals the user value.
    static bool ItemTextEquals(const CVorlinTreeCtrl& tree, QTreeWidgetItem* item,
                               const QVariant& user);
    static bool ItemDataEquals(const CVorlinTreeCtrl& tree, QTreeWidgetItem* item,
                               const QVariant& user);

private:
    QTreeWidgetItem* FindDepthFirst(QTreeWidgetItem* item, const FindCallback& callback,
                                    const QVariant& user, int flags, int level) const;
};

}  // namespace corvane
