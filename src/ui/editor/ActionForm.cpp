#include "ui/editor/ActionForm.h"

#include "platform/PlatformWordings.h"
#include "platform/Programs.h"
#include "platform/ShortcutsBridge.h"
#include "ui/editor/ApplicationPicker.h"
#include "ui/editor/FormParts.h"
#include "ui/editor/SceneStepEditorView.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

ActionForm::ActionForm(Services services, EditorState& state, std::span<const ActionKind> kinds,
                       QWidget* parent)
    : QWidget(parent)
    , m_services(services)
    , m_state(state)
    , m_kinds(kinds.begin(), kinds.end())
    , m_built(allActionKinds.size(), nullptr)
{
    if (std::find(m_kinds.begin(), m_kinds.end(), m_state.kind) == m_kinds.end())
        m_kinds.push_back(m_state.kind);
    m_kindPicker = new QComboBox;
    m_kindPicker->setObjectName(QStringLiteral("kindPicker"));
    for (const ActionKind kind : m_kinds)
        m_kindPicker->addItem(title(kind));
    m_pages = new QStackedWidget;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_kindPicker);
    layout->addWidget(m_pages);
    // The kind is the first choice to make: the form takes the keyboard there.
    setFocusProxy(m_kindPicker);
    connect(m_kindPicker, &QComboBox::currentIndexChanged, this, [this](int row) {
        if (row < 0)
            return;
        m_state.kind = m_kinds[static_cast<std::size_t>(row)];
        showKind(m_state.kind);
        edited();
    });
    reload();
}

void ActionForm::reload()
{
    for (QWidget*& page : m_built) {
        if (page) {
            m_pages->removeWidget(page);
            page->deleteLater();
        }
        page = nullptr;
    }
    m_appPath = m_filePath = m_albumStatus = m_albumChosen = nullptr;
    m_albumList = m_steps = nullptr;
    m_playlists = m_shortcuts = m_bluetoothDevices = m_outputs = nullptr;
    {
        const QSignalBlocker blocker(m_kindPicker);
        const auto row = std::find(m_kinds.begin(), m_kinds.end(), m_state.kind) - m_kinds.begin();
        m_kindPicker->setCurrentIndex(static_cast<int>(row));
    }
    showKind(m_state.kind);
}

void ActionForm::showKind(ActionKind kind)
{
    QWidget*& page = m_built[static_cast<std::size_t>(kind)];
    if (!page) {
        page = makePage(kind);
        m_pages->addWidget(page);
        followKindPickerInTabOrder(*page);
    }
    m_pages->setCurrentWidget(page);
}

void ActionForm::followKindPickerInTabOrder(QWidget& page)
{
    // A page is built when first shown, long after the rest of the window, so by creation order its fields
    // would come last; Tab goes from the kind to its fields instead.
    QWidget* previous = m_kindPicker;
    for (QWidget* field : page.findChildren<QWidget*>()) {
        if (field->focusPolicy() & Qt::TabFocus) {
            QWidget::setTabOrder(previous, field);
            previous = field;
        }
    }
}

void ActionForm::edited()
{
    Q_EMIT changed();
}

QWidget* ActionForm::makePage(ActionKind kind)
{
    switch (kind) {
    case ActionKind::empty:
        return formColumn({new QLabel(QStringLiteral("This tile does nothing yet."))});
    case ActionKind::app:
        return makeAppPage();
    case ActionKind::file:
        return makeFilePage();
    case ActionKind::url:
        return makeUrlPage();
    case ActionKind::playlist:
        return makePlaylistPage();
    case ActionKind::album:
        return makeAlbumPage();
    case ActionKind::nowPlaying:
        return formColumn({formHelp(QStringLiteral(
            "Shows the current Music artwork. Click plays or pauses; right-click skips tracks."))});
    case ActionKind::system:
        return makeSystemPage();
    case ActionKind::bluetooth:
        return makeBluetoothPage();
    case ActionKind::audioOutput:
        return makeAudioOutputPage();
    case ActionKind::snippet:
        return makeSnippetPage();
    case ActionKind::shortcut:
        return makeShortcutPage();
    case ActionKind::script:
        return makeScriptPage();
    case ActionKind::scene:
        return makeScenePage();
    }
    return formColumn({});
}

QWidget* ActionForm::makeAppPage()
{
    m_appPath = new QLabel;
    m_appPath->setObjectName(QStringLiteral("appPath"));
    showApplication();
    auto* choose = formButton(QStringLiteral("Choose…"));
    connect(choose, &QPushButton::clicked, this, &ActionForm::chooseApplication);
    return formColumn({m_appPath, choose});
}

void ActionForm::chooseApplication()
{
    auto* picker = new ApplicationPicker(
        m_services.applications,
        [this](const QString& path) {
            m_state.appPath = path;
            if (m_appPath)
                showApplication();
            edited();
        },
        this);
    picker->setAttribute(Qt::WA_DeleteOnClose);
    picker->open();
}

void ActionForm::showApplication()
{
    // An application is shown by the name the desktop gives it; its path is one hover away.
    const QString& path = m_state.appPath;
    m_appPath->setText(path.isEmpty() ? formNoneChosen : m_services.names.nameOf(path).value_or(path));
    m_appPath->setToolTip(path);
}

QWidget* ActionForm::makeFilePage()
{
    m_filePath = new QLabel(m_state.filePath.isEmpty() ? formNoneChosen : m_state.filePath);
    m_filePath->setObjectName(QStringLiteral("filePath"));
    m_filePath->setWordWrap(true);
    auto* file = formButton(QStringLiteral("Choose File…"));
    auto* folder = formButton(QStringLiteral("Choose Folder…"));
    connect(file, &QPushButton::clicked, this, [this] { chooseFilePath(false); });
    connect(folder, &QPushButton::clicked, this, [this] { chooseFilePath(true); });
    auto* buttons = new QWidget;
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(file);
    row->addWidget(folder);
    row->addStretch();
    return formColumn({m_filePath, buttons});
}

void ActionForm::chooseFilePath(bool folder)
{
    // Not a blocking dialog: the editor may be closed while it is open.
    auto* dialog = new QFileDialog(
        this, folder ? QStringLiteral("Choose Folder") : QStringLiteral("Choose File"), m_state.filePath);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(folder ? QFileDialog::Directory : QFileDialog::ExistingFile);
    if (folder)
        dialog->setOption(QFileDialog::ShowDirsOnly);
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& path) {
        m_state.filePath = path;
        if (m_filePath)
            m_filePath->setText(path);
        edited();
    });
    dialog->open();
}

QWidget* ActionForm::makeUrlPage()
{
    auto* field = new QLineEdit(m_state.urlString);
    field->setObjectName(QStringLiteral("urlField"));
    connect(field, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_state.urlString = text;
        edited();
    });
    return formColumn({field});
}

QWidget* ActionForm::makeSystemPage()
{
    auto* combo = formPicker(QString(), QStringLiteral("systemPicker"));
    for (const SystemAction action : allSystemActions)
        combo->addItem(title(action));
    combo->setCurrentIndex(static_cast<int>(m_state.systemAction));
    connect(combo, &QComboBox::currentIndexChanged, this, [this](int row) {
        if (row < 0)
            return;
        m_state.systemAction = allSystemActions[static_cast<std::size_t>(row)];
        edited();
    });
    return formColumn({combo});
}

QWidget* ActionForm::makeSnippetPage()
{
    auto* text = new QPlainTextEdit(m_state.snippetText);
    text->setObjectName(QStringLiteral("snippetText"));
    connect(text, &QPlainTextEdit::textChanged, this, [this, text] {
        m_state.snippetText = text->toPlainText();
        edited();
    });
    return formColumn({text, formHelp(QStringLiteral(
                                 "Pressing the tile puts this text on the clipboard, ready to paste."))});
}

QWidget* ActionForm::makeShortcutPage()
{
    m_shortcuts = formPicker(QStringLiteral("Choose a shortcut"), QStringLiteral("shortcutPicker"));
    fillFormPicker(*m_shortcuts, m_shortcutNames.value_or(QStringList()), m_state.shortcutName);
    connect(m_shortcuts, &QComboBox::currentIndexChanged, this, [this](int row) {
        if (row < 0)
            return;
        m_state.shortcutName = m_shortcuts->itemText(row);
        edited();
    });
    if (!m_shortcutNames) {
        ShortcutsBridge::fetchShortcuts(m_services.processes, this, [this](QStringList names) {
            m_shortcutNames = names;
            if (m_shortcuts)
                fillFormPicker(*m_shortcuts, names, m_state.shortcutName);
        });
    }
    return formColumn({m_shortcuts});
}

QWidget* ActionForm::makeScriptPage()
{
    auto* language = formPicker(QString(), QStringLiteral("scriptLanguage"));
    // Where zsh is not installed, scripts run with sh, and the picker says so.
    const QString shell = QFileInfo(Programs::scriptShell()).fileName();
    language->addItems({QStringLiteral("Shell (%1)").arg(shell), m_services.wordings.appleScriptLanguage});
    language->setCurrentIndex(m_state.scriptIsAppleScript ? 1 : 0);
    connect(language, &QComboBox::currentIndexChanged, this, [this](int row) {
        m_state.scriptIsAppleScript = row == 1;
        edited();
    });
    auto* languageRow = new QWidget;
    auto* row = new QHBoxLayout(languageRow);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(QStringLiteral("Language")));
    row->addWidget(language, 1);
    auto* source = new QPlainTextEdit(m_state.scriptSource);
    source->setObjectName(QStringLiteral("scriptSource"));
    source->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    connect(source, &QPlainTextEdit::textChanged, this, [this, source] {
        m_state.scriptSource = source->toPlainText();
        edited();
    });
    return formColumn({languageRow, source});
}

QWidget* ActionForm::makeScenePage()
{
    m_steps = new QListWidget;
    m_steps->setObjectName(QStringLiteral("sceneSteps"));
    connect(m_steps, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { editStep(m_steps->row(item)); });
    const auto button = [this](const QString& text, auto handler) {
        auto* pushButton = formButton(text);
        connect(pushButton, &QPushButton::clicked, this, handler);
        return pushButton;
    };
    const auto onSelected = [this](auto operation) {
        return [this, operation] {
            const int row = m_steps->currentRow();
            if (row < 0)
                return;
            operation(row);
            showSceneSteps();
            edited();
        };
    };
    auto* buttons = new QWidget;
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(button(QStringLiteral("Add Step"), [this] { editStep(std::nullopt); }));
    row->addWidget(button(QStringLiteral("Edit…"), [this] {
        if (m_steps->currentRow() >= 0)
            editStep(m_steps->currentRow());
    }));
    row->addWidget(button(QStringLiteral("Move Up"), onSelected([this](int at) {
                              m_state.moveStepUp(at);
                              m_steps->setCurrentRow(std::max(0, at - 1));
                          })));
    row->addWidget(button(QStringLiteral("Move Down"), onSelected([this](int at) {
                              m_state.moveStepDown(at);
                              m_steps->setCurrentRow(at + 1);
                          })));
    row->addWidget(button(QStringLiteral("Remove"), onSelected([this](int at) { m_state.removeStep(at); })));
    showSceneSteps();
    return formColumn({new QLabel(QStringLiteral("One press runs every step, in order.")), m_steps, buttons});
}

void ActionForm::showSceneSteps()
{
    const int selected = m_steps->currentRow();
    m_steps->clear();
    for (const TileAction& step : m_state.sceneSteps)
        m_steps->addItem(step.defaultLabel(m_services.names));
    m_steps->setCurrentRow(std::min(selected, m_steps->count() - 1));
}

void ActionForm::editStep(std::optional<int> at)
{
    std::optional<TileAction> step;
    if (at && *at >= 0 && static_cast<std::size_t>(*at) < m_state.sceneSteps.size())
        step = m_state.sceneSteps[static_cast<std::size_t>(*at)];
    auto* sheet = new SceneStepEditorView(m_services, step, this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &SceneStepEditorView::stepSaved, this, [this, at](const TileAction& saved) {
        m_state.saveStep(saved, at);
        if (m_steps)
            showSceneSteps();
        edited();
    });
    sheet->open();
}
