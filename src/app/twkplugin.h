// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "buttonset.h"
#include "dialogs.h"
#include "imagecopy.h"
#include "pluginexchange.h"

#include <QDateTime>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class DirBrowser;
class FullScreenViewer;
class PreviewDecoder;
class PreviewPicture;
struct PicturePart;

namespace Ui {
class TWKPLUGIN;
}

// The plug-in's main window: the button list, the edit fields of the current
// button, the image previews, the commands and the three exchange fields the
// host reads.
class TWKPLUGIN : public QMainWindow {
    Q_OBJECT
public:
    using Clock = std::function<QDateTime()>;

    static constexpr int PreviewFields[] = {0, 1, 2, 7};

    explicit TWKPLUGIN(Dialogs& dialogs, Clock clock = &QDateTime::currentDateTime,
                       QWidget* parent = nullptr);
    ~TWKPLUGIN() override;

    // What "Copy images to path..." copies each image with, off the
    // user-interface thread; a test puts a slow one in.
    void setFileCopier(FileCopier copier) { m_fileCopier = std::move(copier); }

    [[nodiscard]] const ButtonSet& buttonSet() const { return m_set; }
    // The button the edit fields show, -1 for none.
    [[nodiscard]] int currentIndex() const { return m_currentIndex; }
    // No change since the set was opened, saved, cleared or emptied.
    [[nodiscard]] bool isSaved() const { return m_saved; }
    // The data file last opened or saved; empty for none.
    [[nodiscard]] QString dataFileName() const { return m_dataFileName; }
    [[nodiscard]] bool scriptInserted() const { return m_ScriptInserted; }
    // The exchange fields and the inserted set, as the host link publishes them.
    [[nodiscard]] const PluginExchange& exchange() const { return m_exchange; }

    [[nodiscard]] QLineEdit* Text1(int Index) const;
    [[nodiscard]] QPushButton* Command7(int Index) const;
    [[nodiscard]] PreviewPicture* Image1(int Index) const;
    [[nodiscard]] QLabel* Label9(int Index) const;

signals:
    // The closing sequence has run to its end; the program ends now.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();

    // Button set and current-button editing.
    void LoadItem(int Index);
    void StoreButton(int Index);
    void EnableEdit(bool Ena);
    [[nodiscard]] bool TestSaved();
    void Combo1_Click();
    void Text1_Change(int Index);
    void storeSelectedButton();

    // Button list commands.
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void RemoveButton(int Index);
    void ClearAllData_Click();
    void EraseButtons();
    void ChangeImgPrefix_Click();
    void File_Click();
    void EditSet_Click();
    void Special_Click();

    // Looking at things.
    void Image1_Click(int Index);
    void openViewer(const QString& path, const PicturePart& picture);
    void Command8_Click();
    void About_Click();

    // Gathering the images.
    void CopyImagesToPath_Click();
    void CopyImages();

    // Data file.
    void OpenData_Click();
    void SaveData_Click();
    [[nodiscard]] bool SaveButtons(const QString& FilePath);
    // The listed buttons as the data file holds them, each with its name in the list.
    [[nodiscard]] QList<ButtonRecord> listedButtons() const;
    void OpenButtons(const QString& FilePath);

    // Image choice and preview.
    void Command7_Click(int Index);
    void AutoImage_Click();
    void refreshPreview(int Index);
    void showPreview(int Index, const QString& path, const PicturePart& part);
    [[nodiscard]] static std::size_t previewSlot(int Index);

    // Delivering the page, and closing.
    void Command1_Click();
    void Command2_Click();
    void PreviewTimer_Timer();
    void UnloadTimer_Timer();
    void MakeScript(bool Prv = false);
    void Command3_Click();
    void Exit_Click();

    void setExchange(PluginExchange::Field field, const QString& text);
    [[nodiscard]] int listCount() const;
    [[nodiscard]] int selectedIndex() const;
    void showError(const QString& text);

    std::unique_ptr<Ui::TWKPLUGIN> m_ui;
    Dialogs& m_dialogs;
    Clock m_clock;
    FileCopier m_fileCopier = copyImageFile;
    bool m_copying = false;
    // The data file the last open stopped reading with an error, if any.
    QString m_readIncompletely;
    DirBrowser* m_DirBrowser1 = nullptr;
    QPointer<FullScreenViewer> m_viewer;
    PreviewDecoder* m_viewerDecoder = nullptr;
    ButtonSet m_set;
    QString m_dataFileName;
    bool m_saved = true;
    // Set while a button's record fills the edit fields, which is no change.
    bool m_loadingItem = false;
    // Set while the list is filled again after a removal: its picks are no choice.
    bool m_rebuildingList = false;
    int m_currentIndex = -1;
    bool m_ScriptInserted = false;
    PluginExchange m_exchange;
    QTimer* m_PreviewTimer;
    QTimer* m_UnloadTimer;
    // The controls of the form, gathered once: the eight edit fields, and the
    // chooser, preview, failure label and decoder of each preview field, in
    // the order of PreviewFields.
    std::array<QLineEdit*, 8> m_Text1;
    std::array<QPushButton*, 4> m_Command7;
    std::array<PreviewPicture*, 4> m_Image1;
    std::array<QLabel*, 4> m_Label9;
    std::array<PreviewDecoder*, 4> m_decoders{};
};
