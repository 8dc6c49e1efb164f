#include "ui/VorlinTreeCtrl.h"

#include <deque>
#include <utility>

namespace corvane {

CVorlinTreeCtrl::CVorlinTreeCtrl(QWidget* parent) : QTreeWidget(parent) {}

QTreeWidgetItem* CVorlinTreeCtrl::FindItem(QTreeWidgetItem* start, const FindCallback& callback,
                                           const QVariant& user, int flags) const {
    if (start == nullptr) {
        // The invisible root is no item of the tree: it is never asked.
        start = invisibleRootItem();
        flags |= kSkipStart;
    }
    if (flags & kDepthFirst) {
        return FindDepthFirst(start, callback, user, flags, 0);
    }
    std::deque<std::pair<QTreeWidgetItem*, int>> queue{{start, 0}};
    while (!queue.empty()) {
        const auto [item, level] = queue.front();
        queue.pop_front();
        if ((level > 0 || !(flags & kSkipStart)) && callback(*this, item, user) &&
            (flags & kFirstMatch)) {
            return item;
        }
        if (level == 0 || !(flags & kFirstLevel)) {
            for (int i = 0; i < item->childCount(); ++i) {
                queue.emplace_back(item->child(i), level + 1);
            }
        }
    }
    return nullptr;
}

QTreeWidgetItem* CVorlinTreeCtrl::FindDepthFirst(QTreeWidgetItem* item,
                                                 const FindCallback& callback, const QVariant& user,
                                                 int flags, int level) const {
    if ((level > 0 || !(flags & kSkipStart)) && callback(*this, item, user) &&
        (flags & kFirstMatch)) {
        return item;
    }
    if (level > 0 && (flags & kFirstLevel)) {
        return nullptr;
    }
    for (int i = 0; i < item->childCount(); ++i) {
        if (QTreeWidgetItem* found =
                FindDepthFirst(item->child(i), callback, user, flags, level + 1)) {
            return found;
        }
    }
    return nullptr;
}

int CVorlinTreeCtrl::GetDepth(const QTreeWidgetItem* item) {
    int depth = 0;
    for (; item != nullptr; item = item->parent()) {
        ++depth;
    }
    return depth;
}

bool CVorlinTreeCtrl::IsParentOf(const QTreeWidgetItem* parent, const QTreeWidgetItem* item) {
    return parent != nullptr && item != nullptr && item->parent() == parent;
}

bool CVorlinTreeCtrl::IsAncestorOf(const QTreeWidgetItem* ancestor, const QTreeWidgetItem* item) {
    if (ancestor == nullptr || item == nullptr) {
        return false;
    }
    for (const QTreeWidgetItem* up = item->parent(); up != nullptr; up = up->parent()) {
        if (up == ancestor) {
            return true;
        }
    }
    return false;
}

bool CVorlinTreeCtrl::AreSiblings(const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
    return a != nullptr && b != nullptr && a->parent() == b->parent();
}

bool CVorlinTreeCtrl::ItemTextEquals(const CVorlinTreeCtrl&, QTreeWidgetItem* item,
                                     const QVariant& user) {
    return item->text(0) == user.toString();
}

bool CVorlinTreeCtrl::ItemDataEquals(const CVorlinTreeCtrl&, QTreeWidgetItem* item,
                                     const QVariant& user) {
    return item->data(0, Qt::UserRole) == user;
}

}  // namespace corvane
