#include "FolderTree.h"

#include <QHash>
#include <QPair>
#include <QSet>
#include <optional>

namespace tolva {

namespace {

constexpr qint32 kRootNode = 0;

struct FolderRow {
    qint32 id = 0;
    qint32 parent = 0;
    qint32 previous = 0;
    QString name;
};

std::optional<qint32> wholeNumberAt(const FieldRow& row, int position) {
    if (position >= row.size())
        return std::nullopt;
    try {
        return row.at(position).toInt32();
    } catch (const DbError&) {
        return std::nullopt;
    }
}

// Rows whose node numbers are missing or not whole numbers cannot be placed.
std::optional<FolderRow> readFolderRow(const FieldRow& row) {
    const auto id = wholeNumberAt(row, 0);
    const auto parent = wholeNumberAt(row, 2);
    const auto previous = wholeNumberAt(row, 3);
    if (!id || !parent || !previous)
        return std::nullopt;
    return FolderRow{*id, *parent, *previous, row.at(1).toText().trimmed()};
}

class FolderPlacer {
public:
    FolderPlacer(const QVector<FieldRow>& nodes, const QVector<FolderLink>& links,
                 const QVector<MonitorEntry>& monitors, const QVector<DsnMonitor>& lastMonitors,
                 const QString& dsn) {
        // Each folder's links in filing order, found without walking them all.
        for (const FolderLink& link : links)
            m_linksByNode[link.NodeId].append(link.MonId);
        for (const FieldRow& fields : nodes) {
            const auto row = readFolderRow(fields);
            if (!row)
                continue;
            // The root is looked up on its own; once it is placed, rows with
            // number 0 never qualify again, so they are left out of the index.
            if (row->id == kRootNode) {
                if (!m_root && row->parent == kRootNode && row->previous == kRootNode)
                    m_root = row;
                continue;
            }
            const auto key = qMakePair(row->parent, row->previous);
            if (!m_firstByPlace.contains(key))
                m_firstByPlace.insert(key, *row);
        }
        for (int i = 0; i < monitors.size(); ++i) {
            if (!m_monitorByMonId.contains(monitors[i].MonId))
                m_monitorByMonId.insert(monitors[i].MonId, i);
            m_names.append(monitors[i].Name);
        }
        for (const DsnMonitor& last : lastMonitors) {
            if (last.Dsn == dsn)
                m_rememberedMonIds.insert(last.MonId);
        }
    }

    FolderTree place() {
        FolderTree tree;
        if (!m_root)
            return tree;
        m_placed.insert(kRootNode);
        auto root = newFolder(*m_root);
        if (fillFolder(*root, kRootNode)) {
            tree.root = std::move(root);
            tree.selected = m_selected;
        }
        return tree;
    }

private:
    static std::unique_ptr<FolderTreeItem> newFolder(const FolderRow& row) {
        auto item = std::make_unique<FolderTreeItem>();
        item->kind = FolderTreeItem::Kind::Folder;
        item->text = row.name;
        return item;
    }

    // Subfolders first, then the monitors filed here. True when anything below
    // this folder is a monitor.
    bool fillFolder(FolderTreeItem& folder, qint32 id) {
        bool found = placeSubfolders(folder, id);
        const auto filed = m_linksByNode.constFind(id);
        if (filed == m_linksByNode.constEnd())
            return found;
        for (const qint32 monId : *filed) {
            const auto monitor = m_monitorByMonId.constFind(monId);
            if (monitor == m_monitorByMonId.constEnd())
                continue;
            auto item = std::make_unique<FolderTreeItem>();
            item->kind = FolderTreeItem::Kind::Monitor;
            item->text = m_names.at(*monitor);
            item->monitorIndex = *monitor;
            if (m_rememberedMonIds.contains(monId))
                m_selected = item.get();
            folder.children.push_back(std::move(item));
            found = true;
        }
        return found;
    }

    // The folders under `parentId` follow each other through their "previous"
    // numbers. The whole chain is claimed before any subfolder is filled, and
    // later folders are filled before earlier ones: when one monitor is filed
    // several times, the item remembered as selected depends on that order.
    bool placeSubfolders(FolderTreeItem& parent, qint32 parentId) {
        QVector<FolderRow> chain;
        qint32 previous = 0;
        for (;;) {
            const auto next = m_firstByPlace.constFind(qMakePair(parentId, previous));
            if (next == m_firstByPlace.constEnd())
                break;
            if (m_placed.contains(next->id))
                break;  // the links loop back to a folder already placed
            m_placed.insert(next->id);
            chain.append(*next);
            previous = next->id;
        }

        std::vector<std::unique_ptr<FolderTreeItem>> filled(size_t(chain.size()));
        bool anyFound = false;
        for (int i = int(chain.size()) - 1; i >= 0; --i) {
            auto folder = newFolder(chain[i]);
            if (fillFolder(*folder, chain[i].id)) {
                filled[size_t(i)] = std::move(folder);
                anyFound = true;
            }
        }
        for (auto& folder : filled) {
            if (folder)
                parent.children.push_back(std::move(folder));
        }
        return anyFound;
    }

    QHash<qint32, QVector<qint32>> m_linksByNode;  // monitor numbers per folder
    std::optional<FolderRow> m_root;
    QHash<QPair<qint32, qint32>, FolderRow> m_firstByPlace;
    QHash<qint32, int> m_monitorByMonId;
    QVector<QString> m_names;
    QSet<qint32> m_rememberedMonIds;
    QSet<qint32> m_placed;
    const FolderTreeItem* m_selected = nullptr;
};

}  // namespace

FolderTree BuildFolderTree(const QVector<FieldRow>& nodes, const QVector<FolderLink>& links,
                           const QVector<MonitorEntry>& monitors,
                           const QVector<DsnMonitor>& lastMonitors, const QString& dsn) {
    return FolderPlacer(nodes, links, monitors, lastMonitors, dsn).place();
}

}  // namespace tolva
