#include "app/translationtable.h"

#include "base/inifile.h"
#include "base/progress.h"

#include <QHash>

namespace {
const QString kMessages = QStringLiteral("Messages");
const QString kTranslations = QStringLiteral("Translations");
} // namespace

QString TranslationRow::keyList() const {
    QString out;
    for (const QString& k : keys)
        out += k + ';';
    return out;
}

void TranslationTable::clear() {
    m_rows.clear();
    m_modified = false;
}

bool TranslationTable::load(const IniFile& file, Progress* progress) {
    clear();
    // Both sections are copied first: the progress lets events run, and the file
    // object need not outlive them.
    const auto messages = file.entries(kMessages);
    const auto translations = file.entries(kTranslations);
    int lastPercent = -1;
    auto readSection = [&](const QList<QPair<QString, QString>>& lines, bool message, int from) {
        QHash<QString, int> byText; // lower-case text -> row
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const auto& [key, text] = lines[i];
            if (!key.isEmpty()) {
                const QString folded = text.toLower();
                const auto hit = byText.constFind(folded);
                if (hit != byText.constEnd()) {
                    m_rows[*hit].keys << key;
                } else {
                    byText.insert(folded, int(m_rows.size()));
                    m_rows.append({message, text, {key}});
                }
            }
            if (progress) {
                const int percent = from + int((i + 1) * 50 / lines.size());
                if (percent != lastPercent) {
                    lastPercent = percent;
                    progress->showProgressItem(QStringLiteral("(%1%)").arg(percent));
                }
                if (progress->cancelRequested())
                    return false;
            }
        }
        return true;
    };
    return readSection(messages, true, 0) && readSection(translations, false, 50);
}

void TranslationTable::setText(int row, const QString& text) {
    if (row < 0 || row >= m_rows.size() || m_rows[row].text == text)
        return;
    m_rows[row].text = text;
    m_modified = true;
}

void TranslationTable::writeTo(IniFile& file) {
    for (const TranslationRow& r : std::as_const(m_rows))
        for (const QString& k : r.keys)
            file.writeString(r.message ? kMessages : kTranslations, k, r.text);
    m_modified = false;
}
