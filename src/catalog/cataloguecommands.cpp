#include "catalog/cataloguecommands.h"

#include "base/commandenv.h"
#include "base/nativepath.h"
#include "base/progressscope.h"
#include "base/prompt.h"
#include "base/settings.h"
#include "base/texts.h"
#include "base/translator.h"
#include "catalog/catalogue.h"
#include "catalog/cataloguemenu.h"
#include "catalog/cataloguerow.h"
#include "catalog/cataloguestore.h"
#include "catalog/compaction.h"
#include "lists/folderscanner.h"
#include "lists/songlistmodel.h"

#include <QVariant>

#include <sys/stat.h>

namespace {
// The longest key the key box takes (the column's declared width).
constexpr int KeyMaxLength = 50;

QString percentText(std::int64_t done, std::int64_t total) {
    return QLatin1Char('(') + QString::number(total > 0 ? done * 100 / total : 0) +
           QLatin1String("%)");
}

// "(n%)" for a row, made anew only when the number changes (a save shows it per row).
class PercentText {
public:
    explicit PercentText(std::int64_t total) : m_total(total) {}
    const QString& at(std::int64_t done) {
        const std::int64_t percent = m_total > 0 ? done * 100 / m_total : 0;
        if (percent != m_percent) {
            m_percent = percent;
            m_text = percentText(done, m_total);
        }
        return m_text;
    }

private:
    std::int64_t m_total;
    std::int64_t m_percent = -1;
    QString m_text;
};

// A missing file or no file chosen: the commands do nothing and say nothing.
bool quietFailure(const StoreStatus& s) {
    return s.code == StoreStatus::Code::Missing || s.code == StoreStatus::Code::NoPath;
}

// Opens the current catalogue for a save; false (with a message where one helps)
// when there is nothing to save into.
bool openForSaving(CommandEnv& env) {
    Catalogue& catalogue = *env.catalogue;
    const StoreStatus s = catalogue.open(catalogue.currentPath());
    if (!s) {
        if (!quietFailure(s))
            env.prompt.information(s.message);
        return false;
    }
    if (!catalogue.store().file().isWritable()) {
        env.prompt.information(catalogue.store().file().readOnlyStatus().message);
        return false;
    }
    return true;
}

// Sets settings for its lifetime and puts the old values back.
class SettingsOverride {
public:
    SettingsOverride(Settings& settings, std::initializer_list<std::pair<const char*, bool>> values)
        : m_settings(settings) {
        for (const auto& [key, value] : values) {
            m_old.append({QString::fromLatin1(key), settings.value(QString::fromLatin1(key))});
            settings.setValue(QString::fromLatin1(key), value);
        }
    }
    ~SettingsOverride() {
        for (const auto& [key, value] : m_old)
            m_settings.setValue(key, value);
    }
    SettingsOverride(const SettingsOverride&) = delete;
    SettingsOverride& operator=(const SettingsOverride&) = delete;

private:
    Settings& m_settings;
    QList<std::pair<QString, QVariant>> m_old;
};

QString useCountKey(const Settings& settings) {
    return settings.text(QStringLiteral("DefaultDB"));
}
} // namespace

SaveResult saveRows(CatalogueStore& store, const QString& key, const std::vector<SongItem>& rows,
                    const YesNo& yesNo, Progress& progress) {
    SaveResult result;
    ProgressScope scope(progress, QStringLiteral("saveDB"));
    // One transaction: one flush to disc for the whole save instead of one per row,
    // and an error leaves no half-saved key behind.
    CatalogueTransaction transaction(store);
    if (result.status = transaction.begin(); !result.status)
        return result;
    const std::int64_t total = std::int64_t(rows.size());
    PercentText percent(total);
    for (std::int64_t i = 0; i < total; ++i) {
        result.status = transaction.insert(catalogueRowFromItem(key, rows[size_t(i)], yesNo));
        if (!result.status) {
            result.failedRow = int(i);
            result.saved = 0;
            return result; // the transaction rolls back
        }
        ++result.saved;
        scope.item(percent.at(i));
        if (scope.cancelled()) {
            result.cancelled = true; // what was saved so far is kept
            break;
        }
    }
    if (result.status = transaction.commit(); !result.status)
        result.saved = 0;
    return result;
}

QString saveFailureText(const SaveResult& result, const QString& key,
                        const std::vector<SongItem>& rows) {
    if (result.failedRow < 0 || result.failedRow >= int(rows.size()) ||
        result.status.code != StoreStatus::Code::Failed)
        return result.status.message;
    return messageText(
        "DBSaveRowFailed",
        "Nothing was saved under the key \"%1\": row %2 (%3) could not be stored.~~%4",
        {key, QString::number(result.failedRow + 1), rows[size_t(result.failedRow)].text(0),
         result.status.message});
}

LoadResult loadRows(CatalogueStore& store, const std::optional<QString>& key, bool namesOnly,
                    const YesNo& yesNo, Progress& progress,
                    const std::function<void(SongItem&&)>& sink) {
    LoadResult result;
    ProgressScope scope(progress, QStringLiteral("loadDB"));
    std::int64_t total = 0;
    if (result.status = store.count(key, total); !result.status)
        return result;
    const QString blank = QStringLiteral(" ");
    QString location; // shared by the rows of one folder, as a scan shares it
    QByteArray locationBytes;
    QString scratch; // reused for every value: no allocation per text
    result.status = store.walk(key, [&](const CatalogueStore::StoredRow& row) {
        if (scope.cancelled()) {
            result.cancelled = true;
            return false;
        }
        SongItem item;
        row.text(SongItem::FileName, scratch);
        item.append(scratch);
        for (int c = SongItem::FileSizeKb; c < SongItem::ColumnCount; ++c) {
            if (namesOnly) {
                item.append(blank);
            } else if (c == SongItem::CRC || c == SongItem::Original || c == SongItem::Copyright) {
                item.append(yesNo.text(row.flag(c)));
            } else if (c == SongItem::Location) {
                const QByteArrayView bytes = row.bytes(c);
                if (bytes != QByteArrayView(locationBytes) || location.isNull()) {
                    locationBytes = bytes.toByteArray();
                    location = row.text(c);
                }
                item.append(location);
            } else {
                row.text(c, scratch);
                item.append(scratch);
            }
        }
        sink(std::move(item));
        ++result.loaded;
        if (result.loaded % 11 == 0)
            scope.item(percentText(result.loaded, total));
        return true;
    });
    return result;
}

bool askRecognitionKey(CommandEnv& env, CatalogueStore& store, QString& key) {
    for (;;) {
        if (key.isEmpty()) {
            const std::optional<QString> typed =
                env.prompt.input(T("DBInputRecKey", "Recognition key (cd number, cd title)"),
                                 T("DBRecKey", "Key") + QLatin1Char(':'), key, KeyMaxLength);
            if (!typed)
                return false;
            key = *typed;
        }
        bool inUse = false;
        if (const StoreStatus s = store.keyInUse(key, inUse); !s) {
            env.prompt.information(s.message);
            return false;
        }
        if (!inUse)
            return true;
        if (!env.prompt.askYesNo(T(
                "DBKeyInUse", "This key is already in use.~~ Do you wish to use a different key?")))
            return false;
        key.clear();
    }
}

int saveListToCatalogue(CommandEnv& env, const SongListModel& model) {
    if (model.size() == 0 || !openForSaving(env))
        return 0;
    CatalogueStore& store = env.catalogue->store();
    QString key;
    if (!askRecognitionKey(env, store, key))
        return 0;
    const SaveResult r = saveRows(store, key, model.items(), env.yesNo, env.progress);
    if (!r.status) {
        env.prompt.information(saveFailureText(r, key, model.items()));
        return 0;
    }
    if (r.saved > 0)
        env.catalogue->setChanged(true);
    return r.saved;
}

bool scanFoldersForCatalogue(CommandEnv& env, SongListModel& model, const QStringList& folders,
                             bool* audioCd) {
    if (audioCd)
        *audioCd = false;
    // Tags are read during the scan, lyrics are not looked up; both come back after.
    const SettingsOverride scanSettings(env.settings, {{"RBLTBegining", true},
                                                       {"RBLTEdit", false},
                                                       {"RBLTNever", false},
                                                       {"CBLLoadOnBegining", false}});
    ProgressScope progress(env.progress, QStringLiteral("add"));
    SongListModel::BulkScope bulk(model);
    FolderScanner scanner(model, env.tags, env.progress);
    for (const QString& folder : folders) {
        scanner.scanFolder(folder.endsWith(QLatin1Char('/')) ? folder : folder + '/', true);
        if (progress.cancelled())
            return false;
    }
    if (audioCd)
        *audioCd = scanner.audioCdFound();
    return true;
}

int catalogueCd(CommandEnv& env, const CddbLookup& cddb) {
    // Without a current catalogue there is nowhere to save: nothing is scanned either.
    if (quietFailure(checkStoreFileHeader(env.catalogue->currentPath())))
        return 0;
    const QString folder = env.prompt.chooseFolder(T("SelectDir", "Select Directory"), {});
    if (folder.isEmpty())
        return 0;
    SongListModel scanned(&env.settings);
    bool audioCd = false;
    // A cancelled scan saves nothing: half a CD under a key would pass for the whole.
    if (!scanFoldersForCatalogue(env, scanned, {folder}, &audioCd))
        return 0;
    if (audioCd && cddb &&
        env.prompt.askYesNo(T("InfoIsAudioCD", "It looks like you added files from audio CD. Do "
                                               "you wish to get info from CDDB ?")))
        cddb(scanned);
    return saveListToCatalogue(env, scanned);
}

void loadFromDatabase(CommandEnv& env, SongListModel& model, bool byKey, bool namesOnly) {
    std::optional<QString> key;
    if (byKey) {
        key = env.prompt.input(T("DBInputRecKey", "Recognition key (cd number, cd title)"),
                               T("DBRecKey", "Key") + QLatin1Char(':'), QString(), KeyMaxLength);
        if (!key)
            return;
    }
    Catalogue& catalogue = *env.catalogue;
    // Rows come from the catalogue opened last; before any, from the current one.
    if (!catalogue.isOpen()) {
        const StoreStatus s = catalogue.open(catalogue.currentPath());
        if (!s) {
            if (!quietFailure(s))
                env.prompt.information(s.message);
            return;
        }
    }
    SongListModel::BulkScope bulk(model);
    bool cleared = false;
    const LoadResult r =
        loadRows(catalogue.store(), key, namesOnly, env.yesNo, env.progress, [&](SongItem&& item) {
            if (!cleared) {
                model.clear();
                cleared = true;
            }
            model.append(std::move(item));
        });
    if (!cleared && r.status)
        model.clear(); // no rows: the pane shows none
    if (!r.status)
        env.prompt.information(r.status.message);
}

QString createNewCatalogue(CommandEnv& env) {
    const std::optional<QString> name =
        env.prompt.input(T("CreateNewDatabase", "New Database"),
                         T("CreateNewDatabaseName", "Database Name") + QLatin1Char(':'), QString());
    if (!name)
        return {};
    if (!isValidCatalogueName(*name)) {
        env.prompt.information(T("CreateNewDatabaseBadName",
                                 "A database name may not be empty, start with a dot or hold \"/\" "
                                 "or control characters.~~Please select a different name."));
        return {};
    }
    const QString folder = env.catalogue->programFolder();
    const QString fileName = *name + QStringLiteral(".db3");
    struct stat st {};
    bool exists = ::lstat(toNativePath(folder + fileName).constData(), &st) == 0;
    for (const CatalogueEntry& e : catalogueEntries(folder, QString()))
        exists = exists || e.caption == *name; // "Name.DB3" is listed as "Name" too
    if (exists) {
        env.prompt.information(T("CreateNewDatabaseExsists",
                                 "This Database already exists.~~Please select a different name."));
        return {};
    }
    if (const StoreStatus s = createStoreFile(folder + fileName, StoreKind::Catalogue); !s) {
        env.prompt.information(s.message);
        return {};
    }
    return fileName;
}

void compactDatabase(CommandEnv& env) {
    Catalogue& catalogue = *env.catalogue;
    catalogue.setChanged(false);
    const QString path = catalogue.currentPath();
    if (path.isEmpty()) {
        env.prompt.information(T("DBNoCatalogueChecked",
                                 "No catalogue is checked in the \"Database File\" menu, so only "
                                 "the lyrics store is compacted."));
    } else {
        // Our own connection would keep reading the replaced file: it is opened anew.
        catalogue.close();
        if (const CompactResult r = compactStoreFile(path); !r.status)
            env.prompt.information(r.status.message);
        if (const StoreStatus s = catalogue.open(path); !s && !quietFailure(s))
            env.prompt.information(s.message);
    }
    if (const CompactResult r = compactStoreFile(catalogue.programFolder() + "lyrics.lyr");
        !r.status)
        env.prompt.information(r.status.message);
}

QStringList createMissingStores(const QString& programFolder) {
    QStringList problems;
    const std::pair<const char*, StoreKind> stores[] = {{"database.db3", StoreKind::Catalogue},
                                                        {"lyrics.lyr", StoreKind::Lyrics}};
    for (const auto& [name, kind] : stores) {
        const QString path = programFolder + QLatin1String(name);
        if (checkStoreFileHeader(path).code != StoreStatus::Code::Missing)
            continue;
        if (const StoreStatus s = createStoreFile(path, kind); !s)
            problems << s.message;
    }
    return problems;
}

void catalogueAtStart(CommandEnv& env, bool openDefault) {
    Catalogue& catalogue = *env.catalogue;
    catalogue.setChanged(false);
    if (openDefault && env.settings.flag(QStringLiteral("CBDatabase"))) {
        const StoreStatus s = catalogue.open(catalogue.currentPath());
        if (!s && !quietFailure(s))
            env.prompt.information(s.message);
    }
    if (env.settings.flag(QStringLiteral("CBEachTime"))) {
        compactDatabase(env);
    } else if (env.settings.flag(QStringLiteral("CBCoupleUses"))) {
        IniFile& file = env.settings.file();
        const QString name = useCountKey(env.settings);
        if (env.settings.number(QStringLiteral("SEDBUse")) <
            file.readInt(QStringLiteral("Database"), name, 0)) {
            compactDatabase(env);
            file.writeInt(QStringLiteral("Database"), name, 0);
            file.save();
        }
    }
}

void catalogueAtExit(CommandEnv& env) {
    if (!env.catalogue->changed())
        return;
    IniFile& file = env.settings.file();
    const QString name = useCountKey(env.settings);
    file.writeInt(QStringLiteral("Database"), name,
                  file.readInt(QStringLiteral("Database"), name, 0) + 1);
    file.save();
}
