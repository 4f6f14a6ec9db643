#include "lists/ui/tfcustom.h"

#include "base/prompt.h"
#include "base/translator.h"
#include "base/ui/windowtranslator.h"
#include "lists/patternchoices.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The text a clickable label inserts at the cursor.
const char* kInsertProperty = "insertText";
} // namespace

TFCustom::TFCustom(Prompt& prompt, Translator& translator, QWidget* parent)
    : QDialog(parent), m_prompt(prompt) {
    setObjectName(QStringLiteral("FCustom"));
    setWindowTitle(QStringLiteral("Custom style"));
    setModal(true);

    m_pattern = new QLineEdit(QStringLiteral("A - S"), this);
    m_pattern->setObjectName(QStringLiteral("EPattern_skip_"));
    m_pattern->installEventFilter(this);
    m_upper = new QCheckBox(QStringLiteral("Write commands / normal text"), this);
    m_upper->setObjectName(QStringLiteral("CBUpperCase"));
    m_upper->setChecked(true);

    auto* commands = new QGridLayout;
    struct Cmd {
        const char* name;
        const char* caption;
        const char* letter;
    };
    static const Cmd cmds[] = {{"LArtist", "Artist", "A"}, {"LSongTitle", "Song Title", "S"},
                               {"LTrack", "Track", "T"},   {"LAlbum", "Album", "B"},
                               {"LGenre", "Genre", "G"},   {"LYear", "Year", "Y"}};
    auto clickable = [this](const QString& name, const QString& caption, const QString& insert) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(name);
        l->setProperty(kInsertProperty, insert);
        l->setCursor(Qt::PointingHandCursor);
        l->setStyleSheet(QStringLiteral("color: #0000c0; text-decoration: underline;"));
        l->installEventFilter(this);
        return l;
    };
    int row = 0;
    for (const Cmd& c : cmds) {
        const QString letter = QString::fromLatin1(c.letter);
        commands->addWidget(
            clickable(QString::fromLatin1(c.name), QString::fromLatin1(c.caption), letter), row, 0);
        // "(A)" is the same for every language.
        commands->addWidget(
            clickable(QStringLiteral("L%1_skip_").arg(letter), '(' + letter + ')', letter), row, 1);
        ++row;
    }
    auto* separators = new QHBoxLayout;
    separators->setSpacing(14);
    static const char* seps[] = {" - ", "_-_", " = ", " ", "-", "_"};
    int n = 0;
    for (const char* s : seps) {
        const QString text = QString::fromLatin1(s);
        separators->addWidget(
            clickable(QStringLiteral("LSep%1_skip_").arg(++n), '\'' + text + '\'', text));
    }
    separators->addStretch();

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("BOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("BCancel"));
    connect(ok, &QPushButton::clicked, this, &TFCustom::tryAccept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* sepLabel = new QLabel(QStringLiteral("Separators:"), this);
    sepLabel->setObjectName(QStringLiteral("LSeparators"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* main = new QVBoxLayout(this);
    main->addWidget(m_pattern);
    main->addWidget(m_upper);
    main->addLayout(commands);
    main->addWidget(sepLabel);
    main->addLayout(separators);
    main->addLayout(buttons);

    m_tr = new WindowTranslator(this, translator);
    m_tr->setLanguage(translator.language());
}

QString TFCustom::pattern() const {
    return m_pattern->text();
}

void TFCustom::setPattern(const QString& pattern) {
    m_pattern->setText(pattern);
}

bool TFCustom::tryAccept() {
    if (!patternHasCommand(pattern())) {
        m_prompt.information(m_tr->t(
            QStringLiteral("InfoNoParameters"),
            QStringLiteral(
                "You must input at least one command. Check that is written in UPPER CASE!")));
        return false;
    }
    accept();
    return true;
}

std::optional<QString> TFCustom::choose(const QString& current) {
    if (!current.isEmpty())
        setPattern(current);
    m_pattern->setFocus();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return pattern();
}

bool TFCustom::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pattern && event->type() == QEvent::KeyPress && m_upper->isChecked()) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text();
        if (!typed.isEmpty() && typed.at(0).isPrint() && typed != typed.toUpper() &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            m_pattern->insert(typed.toUpper());
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonRelease &&
               watched->property(kInsertProperty).isValid()) {
        m_pattern->insert(watched->property(kInsertProperty).toString());
        m_pattern->setFocus();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
