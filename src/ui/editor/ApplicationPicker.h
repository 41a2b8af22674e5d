#pragma once

#include "platform/InstalledApplications.h"

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QSortFilterProxyModel;

// The sheet that picks the application a tile opens: the installed applications by name with their icons,
// narrowed by a search field, or any desktop entry or program chosen with "Choose…". A double click or
// "Choose" calls back with the entry's ".desktop" path and closes the sheet; "Cancel" and Escape close it
// without a call.
class ApplicationPicker final : public QDialog {
    Q_OBJECT
public:
    // The applications are listed on a thread of the global pool, which reading hundreds of files needs, and
    // shown when they arrive; `applications` must outlive that listing, also when the sheet closes first.
    ApplicationPicker(const InstalledApplications& applications, std::function<void(const QString&)> onPick,
                      QWidget* parent = nullptr);

private:
    void showApplications(const std::vector<InstalledApplications::Entry>& entries);
    void pick(const QString& path);
    void pickCurrent();
    void chooseFile();
    void showMatches(const QString& text);

    std::function<void(const QString&)> m_onPick;
    QLineEdit* m_field = nullptr;
    QListView* m_list = nullptr;
    QSortFilterProxyModel* m_matches = nullptr;
    QLabel* m_message = nullptr;
    QPushButton* m_choose = nullptr;
};
