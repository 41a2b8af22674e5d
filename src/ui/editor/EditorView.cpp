#include "ui/editor/EditorView.h"

#include "deck/TileLibrary.h"
#include "icons/IconFinish.h"
#include "icons/IconImport.h"
#include "model/DeckGeometry.h"
#include "model/Settings.h"
#include "model/TilePreset.h"
#include "model/TileStore.h"
#include "ui/editor/ActionForm.h"
#include "ui/editor/FormParts.h"
#include "ui/editor/PhosphorPicker.h"
#include "ui/editor/SFSymbolPicker.h"
#include "ui/editor/TileLibraryView.h"
#include "ui/editor/TilePreview.h"
#include "ui/paint/SymbolCatalogue.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

QPushButton* colorWell(const QString& name)
{
    auto* well = formButton();
    well->setObjectName(name);
    well->setFixedSize(44, 24);
    return well;
}

void showColor(QPushButton& well, const QString& hex)
{
    QPixmap swatch(28, 14);
    swatch.fill(IconFinish::colorFromHex(hex).value_or(QColor(Qt::white)));
    well.setIcon(QIcon(swatch));
    well.setIconSize(swatch.size());
    well.setToolTip(hex);
}

} // namespace

EditorView::EditorView(Services services, int page, int index, QWidget* parent)
    : QDialog(parent)
    , m_services(services)
    , m_state(EditorState::fromTile(services.store.tile(page, index), page, index))
{
    setWindowTitle(titleFor(page, index));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    m_actionForm = new ActionForm(m_services.actions, m_state, allActionKinds);
    connect(m_actionForm, &ActionForm::changed, this, &EditorView::stateChanged);
    auto* actionLayout = new QVBoxLayout;
    actionLayout->addWidget(m_actionForm);

    m_preview =
        new TilePreview(m_services.painter, DeckGeometry(m_services.settings, 1, false, false).grid());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeStartSection());
    layout->addWidget(formSection(QStringLiteral("Action"), actionLayout));
    layout->addWidget(makeAppearanceSection());
    layout->addWidget(m_preview, 0, Qt::AlignHCenter);
    layout->addWidget(makeButtons());
    // Only a button inside its window can become the window's default; before, the first button would.
    m_save->setDefault(true);
    showIconKind();
    stateChanged();
    m_actionForm->setFocus();
    resize(460, sizeHint().height());
}

EditorView::~EditorView() = default;

QString EditorView::titleFor(int page, int index)
{
    return QStringLiteral("Page %1 \u00B7 Tile %2").arg(page + 1).arg(index + 1);
}

QWidget* EditorView::makeStartSection()
{
    auto* browse = formButton(QStringLiteral("Browse Tile Library…"));
    browse->setObjectName(QStringLiteral("browseLibrary"));
    connect(browse, &QPushButton::clicked, this, &EditorView::browseLibrary);
    auto* layout = new QVBoxLayout;
    layout->addWidget(browse, 0, Qt::AlignLeft);
    return formSection(QStringLiteral("Start from"), layout);
}

QWidget* EditorView::makeAppearanceSection()
{
    m_label = new QLineEdit(m_state.label);
    m_label->setObjectName(QStringLiteral("labelField"));
    connect(m_label, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_state.label = text;
        stateChanged();
    });
    auto* refresh = formButton(QStringLiteral("Refresh Image"));
    refresh->setObjectName(QStringLiteral("refreshImage"));
    refresh->setToolTip(
        QStringLiteral("Reload this icon from disk if you've changed the source file or the app's icon."));
    connect(refresh, &QPushButton::clicked, this, &EditorView::refreshImage);

    m_iconStyle = new QComboBox;
    m_iconStyle->setObjectName(QStringLiteral("iconStyle"));
    for (const IconKind kind : allIconKinds)
        m_iconStyle->addItem(iconKindTitle(kind, m_services.actions.wordings));
    connect(m_iconStyle, &QComboBox::currentIndexChanged, this, [this](int row) {
        if (row < 0)
            return;
        m_state.iconKind = allIconKinds[static_cast<std::size_t>(row)];
        showIconKind();
        stateChanged();
    });

    m_iconFields = new QStackedWidget;
    m_iconFields->addWidget(new QWidget);
    m_iconFields->addWidget(makeBuilderFields());
    m_iconFields->addWidget(makeSymbolFields());
    m_iconFields->addWidget(makeCustomFields());

    auto* labelRow = new QHBoxLayout;
    labelRow->addWidget(m_label, 1);
    labelRow->addWidget(refresh);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Label"), labelRow);
    form->addRow(QStringLiteral("Icon Style"), m_iconStyle);
    form->addRow(m_iconFields);
    return formSection(QStringLiteral("Appearance"), form);
}

QWidget* EditorView::makeBuilderFields()
{
    m_builderColor = colorWell(QStringLiteral("builderColorWell"));
    connect(m_builderColor, &QPushButton::clicked, this,
            [this] { chooseColor(m_state.builderColor, &EditorView::setBuilderColor); });
    m_chooseGlyph = formButton();
    m_chooseGlyph->setObjectName(QStringLiteral("chooseGlyph"));
    connect(m_chooseGlyph, &QPushButton::clicked, this, &EditorView::chooseGlyph);
    auto* fields = new QWidget;
    auto* form = new QFormLayout(fields);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(QStringLiteral("Background"), m_builderColor);
    form->addRow(QString(), m_chooseGlyph);
    return fields;
}

QWidget* EditorView::makeSymbolFields()
{
    m_chooseSymbol = formButton();
    m_chooseSymbol->setObjectName(QStringLiteral("chooseSymbol"));
    connect(m_chooseSymbol, &QPushButton::clicked, this, &EditorView::chooseSymbol);
    m_symbolName = new QLineEdit(m_state.symbolName);
    m_symbolName->setObjectName(QStringLiteral("symbolName"));
    m_symbolName->setPlaceholderText(QStringLiteral("e.g. music.note"));
    connect(m_symbolName, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_state.symbolName = text;
        stateChanged();
    });
    m_symbolColor = colorWell(QStringLiteral("symbolColorWell"));
    connect(m_symbolColor, &QPushButton::clicked, this,
            [this] { chooseColor(m_state.symbolColor, &EditorView::setSymbolColor); });
    auto* fields = new QWidget;
    auto* form = new QFormLayout(fields);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(QStringLiteral("Symbol"), m_chooseSymbol);
    form->addRow(QStringLiteral("Or type a name"), m_symbolName);
    form->addRow(QStringLiteral("Colour"), m_symbolColor);
    return fields;
}

QWidget* EditorView::makeCustomFields()
{
    auto* choose = formButton(QStringLiteral("Choose Image…"));
    choose->setObjectName(QStringLiteral("chooseImage"));
    connect(choose, &QPushButton::clicked, this, &EditorView::chooseImage);
    auto* automatic = formButton(QStringLiteral("Use Automatic"));
    connect(automatic, &QPushButton::clicked, this, [this] {
        m_state.iconKind = IconKind::automatic;
        showIconKind();
        stateChanged();
    });
    return lineOf(QBoxLayout::LeftToRight, {choose, automatic});
}

QWidget* EditorView::makeButtons()
{
    auto* cancel = formButton(QStringLiteral("Cancel"));
    m_save = formButton(QStringLiteral("Save"));
    m_save->setObjectName(QStringLiteral("save"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_save, &QPushButton::clicked, this, &EditorView::save);
    m_importStatus = new QLabel;
    m_importStatus->setObjectName(QStringLiteral("importStatus"));
    m_importStatus->setWordWrap(true);
    m_importStatus->hide();
    auto* buttons = new QWidget;
    auto* layout = new QHBoxLayout(buttons);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_importStatus, 1);
    layout->addWidget(cancel);
    layout->addWidget(m_save);
    return buttons;
}

void EditorView::save()
{
    if (m_importing) {
        m_saveWhenImported = true;
        m_save->setEnabled(false);
        return;
    }
    m_state.save(m_services.store);
    accept();
}

void EditorView::applyPreset(const TilePreset& preset)
{
    m_state.applyPreset(preset);
    m_label->setText(m_state.label);
    m_actionForm->reload();
    showIconKind();
    stateChanged();
}

void EditorView::pickGlyph(const QString& name)
{
    m_state.builderIconName = name;
    stateChanged();
}

void EditorView::pickSymbol(const QString& name)
{
    m_state.symbolName = name;
    m_symbolName->setText(name);
    stateChanged();
}

void EditorView::setBuilderColor(const QString& hex)
{
    m_state.builderColor =
        EditorState::normalisedColor(hex).value_or(QString::fromUtf16(EditorState::systemBlue));
    stateChanged();
}

void EditorView::setSymbolColor(const QString& hex)
{
    m_state.symbolColor = EditorState::normalisedColor(hex).value_or(QString::fromUtf16(EditorState::white));
    stateChanged();
}

void EditorView::useCustomImage(const QString& fileName)
{
    m_state.customIconFileName = fileName;
    stateChanged();
}

void EditorView::chooseColor(const QString& current, void (EditorView::*apply)(const QString&))
{
    auto* dialog = new QColorDialog(IconFinish::colorFromHex(current).value_or(QColor(Qt::white)), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QColorDialog::colorSelected, this,
            [this, apply](const QColor& colour) { (this->*apply)(IconFinish::hexString(colour)); });
    dialog->open();
}

void EditorView::refreshImage()
{
    m_services.store.bumpIconRefreshTick();
    m_preview->reloadImages();
}

void EditorView::showIconKind()
{
    const auto row = static_cast<int>(m_state.iconKind);
    {
        const QSignalBlocker blocker(m_iconStyle);
        m_iconStyle->setCurrentIndex(row);
    }
    m_iconFields->setCurrentIndex(row);
    // The fields take the room of the form shown, not of the tallest form.
    for (int page = 0; page < m_iconFields->count(); ++page) {
        const auto policy = page == row ? QSizePolicy::Preferred : QSizePolicy::Ignored;
        m_iconFields->widget(page)->setSizePolicy(policy, policy);
    }
    m_iconFields->adjustSize();
}

void EditorView::stateChanged()
{
    m_label->setPlaceholderText(m_state.labelPlaceholder(m_services.actions.names));
    m_chooseGlyph->setText(m_state.builderIconName.isEmpty() ? QStringLiteral("Choose Icon…")
                                                             : QStringLiteral("Change Icon…"));
    m_chooseSymbol->setText(m_state.symbolName.isEmpty() ? QStringLiteral("Choose Symbol…")
                                                         : QStringLiteral("Change Symbol…"));
    showColor(*m_builderColor, m_state.builderColor);
    showColor(*m_symbolColor, m_state.symbolColor);
    Tile tile = m_preview->tile();
    tile.label = m_state.label;
    tile.icon = m_state.builtIcon();
    tile.action = m_state.builtAction();
    m_preview->setTile(tile);
}

void EditorView::browseLibrary()
{
    auto* library = new TileLibraryView(
        m_services.library, m_services.painter, [this](const TilePreset& preset) { applyPreset(preset); },
        this);
    library->setAttribute(Qt::WA_DeleteOnClose);
    library->open();
}

void EditorView::chooseGlyph()
{
    auto* picker = new PhosphorPicker(
        m_services.painter.font, m_state.builderIconName, [this](const QString& name) { pickGlyph(name); },
        this);
    picker->setAttribute(Qt::WA_DeleteOnClose);
    picker->open();
}

void EditorView::chooseSymbol()
{
    auto* picker = new SFSymbolPicker(
        m_services.painter.font, m_services.symbols.names(), m_state.symbolName,
        [this](const QString& name) { pickSymbol(name); }, this);
    picker->setAttribute(Qt::WA_DeleteOnClose);
    picker->open();
}

void EditorView::chooseImage()
{
    // Not a blocking dialog: a new editor may close this one while it is open.
    auto* dialog = new QFileDialog(
        this, QStringLiteral("Choose Image"), QString(),
        QStringLiteral(
            "Images (*.png *.jpg *.jpeg *.gif *.bmp *.tif *.tiff *.webp *.icns *.svg);;All Files (*)"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFile);
    connect(dialog, &QFileDialog::fileSelected, this, &EditorView::importImage);
    dialog->open();
}

void EditorView::importImage(const QString& path)
{
    const int generation = ++m_importGeneration;
    const QString pictureName = QFileInfo(path).fileName();
    m_importing = true;
    showImportStatus(QStringLiteral("Importing \u201C%1\u201D\u2026").arg(pictureName));
    IconImport(m_services.iconsDir)
        .importImageAsync(path, this,
                          [this, generation, pictureName](const std::optional<QString>& fileName) {
                              if (generation == m_importGeneration)
                                  imported(pictureName, fileName);
                          });
}

void EditorView::imported(const QString& pictureName, const std::optional<QString>& fileName)
{
    m_importing = false;
    if (!fileName) {
        // Saving now would keep the automatic icon the user just chose to replace.
        m_saveWhenImported = false;
        m_save->setEnabled(true);
        showImportStatus(QStringLiteral("Couldn't use \u201C%1\u201D: it could not be read as a picture, or "
                                        "the icons folder could not be written. Choose another picture.")
                             .arg(pictureName));
        return;
    }
    showImportStatus({});
    useCustomImage(*fileName);
    if (m_saveWhenImported)
        save();
}

void EditorView::showImportStatus(const QString& text)
{
    m_importStatus->setText(text);
    m_importStatus->setVisible(!text.isEmpty());
}
