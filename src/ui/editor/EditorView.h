#pragma once

#include "deck/EditorState.h"
#include "ui/editor/ActionForm.h"
#include "ui/paint/TileIconPainter.h"

#include <QDialog>

class DeckSettings;
class StarterHint;
class TileLibrary;
class TileStore;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class SymbolCatalogue;
class TilePreview;
struct TilePreset;

// The tile editor's window: the form over one slot's working copy, a preview drawn as the deck draws its
// tiles, "Cancel" (Escape) and "Save" (Return). "Save" writes the tile to the store and closes the window;
// anything else that closes it changes nothing.
//
// Main thread only.
class EditorView final : public QDialog {
    Q_OBJECT
public:
    struct Services {
        TileStore& store;
        const DeckSettings& settings;
        // A first edit dismisses the starter hint.
        StarterHint& starterHint;
        const TileLibrary& library;
        // What the action pages list and run; their names and wordings serve the rest of the form too.
        ActionForm::Services actions;
        QString iconsDir;
        // What the preview draws with: the deck's own.
        TileIconPainter::Services painter;
        // The symbols the symbol picker offers.
        SymbolCatalogue& symbols;
    };

    // Loads the slot's tile from the store.
    EditorView(Services services, int page, int index, QWidget* parent = nullptr);
    ~EditorView() override;

    // "Page 1 · Tile 1" for the first slot of the first page.
    [[nodiscard]] static QString titleFor(int page, int index);
    [[nodiscard]] const EditorState& state() const { return m_state; }

    // What the tile library, the pickers, the colour wells and the image import hand back.
    void applyPreset(const TilePreset& preset);
    void pickGlyph(const QString& name);
    void pickSymbol(const QString& name);
    void setBuilderColor(const QString& hex);
    void setSymbolColor(const QString& hex);
    // Imports the picture into the icons folder off the main thread, then makes it the custom image; a
    // picture that cannot be imported changes nothing, and the window says so.
    void importImage(const QString& path);

    // The "Save" button. While a chosen picture is still being imported, the window saves once it is in, or
    // stays open saying why it is not.
    void save();

private:
    [[nodiscard]] QWidget* makeStartSection();
    [[nodiscard]] QWidget* makeAppearanceSection();
    [[nodiscard]] QWidget* makeBuilderFields();
    [[nodiscard]] QWidget* makeSymbolFields();
    [[nodiscard]] QWidget* makeCustomFields();
    [[nodiscard]] QWidget* makeButtons();

    void browseLibrary();
    void chooseGlyph();
    void chooseSymbol();
    void chooseImage();
    void useCustomImage(const QString& fileName);
    void imported(const QString& pictureName, const std::optional<QString>& fileName);
    void showImportStatus(const QString& text);
    void chooseColor(const QString& current, void (EditorView::*apply)(const QString&));
    void refreshImage();
    void showIconKind();
    // Brings the label's placeholder, the icon buttons and the preview up to date with the state.
    void stateChanged();

    Services m_services;
    EditorState m_state;
    ActionForm* m_actionForm = nullptr;
    QLineEdit* m_label = nullptr;
    QComboBox* m_iconStyle = nullptr;
    QStackedWidget* m_iconFields = nullptr;
    QPushButton* m_builderColor = nullptr;
    QPushButton* m_chooseGlyph = nullptr;
    QPushButton* m_symbolColor = nullptr;
    QPushButton* m_chooseSymbol = nullptr;
    QLineEdit* m_symbolName = nullptr;
    TilePreview* m_preview = nullptr;
    QPushButton* m_save = nullptr;
    QLabel* m_importStatus = nullptr;
    // Counts the pictures chosen: only the answer for the last one counts.
    int m_importGeneration = 0;
    bool m_importing = false;
    bool m_saveWhenImported = false;
};
