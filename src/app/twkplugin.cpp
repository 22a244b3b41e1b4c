// SPDX-License-Identifier: GPL-3.0-or-later
#include "twkplugin.h"

#include "aboutwindow.h"
#include "apptitle.h"
#include "datafile.h"
#include "demomenu.h"
#include "dirbrowser.h"
#include "formfont.h"
#include "fullscreenviewer.h"
#include "pagegenerator.h"
#include "previewdecoder.h"
#include "previewpicture.h"
#include "settings.h"
#include "singlelinevalidator.h"
#include "ui_twkplugin.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QIcon>
#include <QScreen>
#include <QTimer>

namespace {

const QString DataFileFilter = QStringLiteral("Rollcraft2 (*.rk2)|*.rk2");
const QString ImageFilter =
    QStringLiteral("All images|*.gif;*.jpg|Gif file|*.gif|Jpg file|*.jpg|All files|*.*");

QString chooserTitle(int index)
{
    switch (index) {
    case 0:
        return QStringLiteral("MouseOut image:");
    case 1:
        return QStringLiteral("MouseOver image:");
    case 2:
        return QStringLiteral("Description image:");
    default:
        return QStringLiteral("Default description image:");
    }
}

// Edit fields 0 to 6 and the record fields they show.
constexpr QString ButtonRecord::*EditFieldOf[] = {
    &ButtonRecord::MouseOutImage,    &ButtonRecord::MouseOverImage,
    &ButtonRecord::DescriptionImage, &ButtonRecord::Url,
    &ButtonRecord::Target,           &ButtonRecord::Alt,
    &ButtonRecord::ImagePathPrefix,
};

} // namespace

TWKPLUGIN::TWKPLUGIN(Dialogs& dialogs, Clock clock, QWidget* parent)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::TWKPLUGIN>()), m_dialogs(dialogs),
      m_clock(std::move(clock)), m_PreviewTimer(new QTimer(this)), m_UnloadTimer(new QTimer(this))
{
    m_ui->setupUi(this);
    m_Text1 = {m_ui->Text1_0, m_ui->Text1_1, m_ui->Text1_2, m_ui->Text1_3,
               m_ui->Text1_4, m_ui->Text1_5, m_ui->Text1_6, m_ui->Text1_7};
    m_Command7 = {m_ui->Command7_0, m_ui->Command7_1, m_ui->Command7_2, m_ui->Command7_7};
    m_Image1 = {m_ui->Image1_0, m_ui->Image1_1, m_ui->Image1_2, m_ui->Image1_7};
    m_Label9 = {m_ui->Label9_0, m_ui->Label9_1, m_ui->Label9_2, m_ui->Label9_7};
    setWindowIcon(QIcon(QStringLiteral(":/icons/rollcraft.ico")));
    m_ui->centralwidget->setFont(formFont());
    // The fields start as the form's hidden controls hold them.
    m_exchange.set(PluginExchange::Field::SCRIPT, m_ui->SCRIPT->toPlainText());
    m_exchange.set(PluginExchange::Field::SCRIPTTYPE, m_ui->SCRIPTTYPE->text());
    m_exchange.set(PluginExchange::Field::PREVIEW, m_ui->PREVIEW->text());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    // Below the client area, where the size lock keeps it out of sight.
    m_DirBrowser1 = new DirBrowser(m_dialogs, m_ui->centralwidget);
    m_DirBrowser1->setObjectName(QStringLiteral("DirBrowser1"));
    m_DirBrowser1->move(8, 560);

    m_PreviewTimer->setObjectName(QStringLiteral("PreviewTimer"));
    m_UnloadTimer->setObjectName(QStringLiteral("UnloadTimer"));
    for (QTimer* timer : {m_PreviewTimer, m_UnloadTimer}) {
        timer->setInterval(150);
        timer->setSingleShot(true);
    }
    connect(m_PreviewTimer, &QTimer::timeout, this, &TWKPLUGIN::PreviewTimer_Timer);
    connect(m_UnloadTimer, &QTimer::timeout, this, &TWKPLUGIN::UnloadTimer_Timer);

    connect(m_ui->Combo1, &ButtonList::entrySelected, this, &TWKPLUGIN::Combo1_Click);
    for (int i = 0; i < 8; ++i) {
        // A pasted line break would split the field's line in the data file.
        holdOneLine(Text1(i));
        connect(Text1(i), &QLineEdit::textChanged, this, [this, i] { Text1_Change(i); });
    }
    for (int i : PreviewFields) {
        connect(Command7(i), &QPushButton::clicked, this, [this, i] { Command7_Click(i); });
        connect(Image1(i), &PreviewPicture::clicked, this, [this, i] { Image1_Click(i); });
        auto* decoder = new PreviewDecoder(this);
        connect(decoder, &PreviewDecoder::decoded, this,
                [this, i](const QString& path, const PicturePart& part) {
                    showPreview(i, path, part);
                });
        m_decoders[previewSlot(i)] = decoder;
    }

    m_viewerDecoder = new PreviewDecoder(this);
    connect(m_viewerDecoder, &PreviewDecoder::decoded, this, &TWKPLUGIN::openViewer);

    connect(m_ui->Command4, &QPushButton::clicked, this, &TWKPLUGIN::Command4_Click);
    connect(m_ui->Command5, &QPushButton::clicked, this, &TWKPLUGIN::Command5_Click);
    connect(m_ui->Command6, &QPushButton::clicked, this, &TWKPLUGIN::Command6_Click);
    connect(m_ui->Command1, &QPushButton::clicked, this, &TWKPLUGIN::Command1_Click);
    connect(m_ui->Command2, &QPushButton::clicked, this, &TWKPLUGIN::Command2_Click);
    connect(m_ui->Command3, &QPushButton::clicked, this, &TWKPLUGIN::Command3_Click);
    connect(m_ui->Command8, &QPushButton::clicked, this, &TWKPLUGIN::Command8_Click);
    connect(m_ui->About, &QAction::triggered, this, &TWKPLUGIN::About_Click);

    connect(m_ui->File, &QMenu::aboutToShow, this, &TWKPLUGIN::File_Click);
    connect(m_ui->EditSet, &QMenu::aboutToShow, this, &TWKPLUGIN::EditSet_Click);
    connect(m_ui->Special, &QMenu::aboutToShow, this, &TWKPLUGIN::Special_Click);
    connect(m_ui->CopyImagesToPath, &QAction::triggered, this, &TWKPLUGIN::CopyImagesToPath_Click);
    connect(m_ui->ClearAllData, &QAction::triggered, this, &TWKPLUGIN::ClearAllData_Click);
    connect(m_ui->OpenData, &QAction::triggered, this, &TWKPLUGIN::OpenData_Click);
    connect(m_ui->SaveData, &QAction::triggered, this, &TWKPLUGIN::SaveData_Click);
    connect(m_ui->AutoImage, &QAction::triggered, this, &TWKPLUGIN::AutoImage_Click);
    connect(m_ui->Exit, &QAction::triggered, this, &TWKPLUGIN::Exit_Click);
    connect(m_ui->ChangeImgPrefix, &QAction::triggered, this, &TWKPLUGIN::ChangeImgPrefix_Click);

    Form_Load();
}

TWKPLUGIN::~TWKPLUGIN() = default;

QLineEdit* TWKPLUGIN::Text1(int Index) const
{
    return m_Text1.at(static_cast<std::size_t>(Index));
}

std::size_t TWKPLUGIN::previewSlot(int Index)
{
    return Index == 7 ? 3 : static_cast<std::size_t>(Index);
}

QPushButton* TWKPLUGIN::Command7(int Index) const
{
    return m_Command7.at(previewSlot(Index));
}

PreviewPicture* TWKPLUGIN::Image1(int Index) const
{
    return m_Image1.at(previewSlot(Index));
}

QLabel* TWKPLUGIN::Label9(int Index) const
{
    return m_Label9.at(previewSlot(Index));
}

void TWKPLUGIN::setExchange(PluginExchange::Field field, const QString& text)
{
    switch (field) {
    case PluginExchange::Field::SCRIPT:
        m_ui->SCRIPT->setPlainText(text);
        break;
    case PluginExchange::Field::SCRIPTTYPE:
        m_ui->SCRIPTTYPE->setText(text);
        break;
    case PluginExchange::Field::PREVIEW:
        m_ui->PREVIEW->setText(text);
        break;
    }
    m_exchange.set(field, text);
}

int TWKPLUGIN::listCount() const
{
    return m_ui->Combo1->count();
}

int TWKPLUGIN::selectedIndex() const
{
    return m_ui->Combo1->selectedIndex();
}

void TWKPLUGIN::showError(const QString& text)
{
    m_dialogs.messageBox(this, text, AppTitle, Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
}

// ---- Start-up, size lock and closing ------------------------------------------------------

void TWKPLUGIN::Form_Load()
{
    m_saved = true;
    m_currentIndex = -1;
    EnableEdit(false);
    // The size lock (FixedWidth, FixedHeight): the size at load, held by the
    // window system itself, so that neither an X11 window manager nor a
    // Wayland compositor offers to resize or maximize the window.
    adjustSize();
    setFixedSize(size());
    setExchange(PluginExchange::Field::SCRIPT, QString());
    setExchange(PluginExchange::Field::SCRIPTTYPE, QString());
    if (const QScreen* s = screen()) {
        const QRect area = s->geometry();
        move(area.x() + static_cast<int>(area.width() / 2.0f - width() / 2.0f),
             area.y() + static_cast<int>(area.height() / 2.0f - height() / 2.0f));
    }
    if (const std::optional<bool> on = readAutoImage())
        m_ui->AutoImage->setChecked(*on);
}

bool TWKPLUGIN::TestSaved()
{
    if (m_saved)
        return true;
    return m_dialogs.messageBox(
               this,
               QStringLiteral("Current data is not saved, are you sure that you want to quit ?"),
               AppTitle, Dialogs::Icon::Exclamation,
               Dialogs::Buttons::OkCancel) != Dialogs::Answer::Cancel;
}

void TWKPLUGIN::Command3_Click()
{
    if (!TestSaved())
        return;
    setExchange(PluginExchange::Field::SCRIPT, QString());
    setExchange(PluginExchange::Field::SCRIPTTYPE, QString());
    close();
}

void TWKPLUGIN::Exit_Click()
{
    close();
}

void TWKPLUGIN::closeEvent(QCloseEvent* event)
{
    // The copy's thread works for this window: it closes when the copy ends.
    if (m_copying || !TestSaved()) {
        event->ignore();
        return;
    }
    if (!m_ScriptInserted) {
        setExchange(PluginExchange::Field::SCRIPT, QString());
        setExchange(PluginExchange::Field::SCRIPTTYPE, QString());
    }
    m_PreviewTimer->stop();
    m_UnloadTimer->stop();
    event->accept();
    emit closed();
}

// ---- Button set and current-button editing -------------------------------------------------

void TWKPLUGIN::LoadItem(int Index)
{
    const ButtonRecord& record = m_set.Buttons[Index];
    for (int i = 0; i < 7; ++i)
        Text1(i)->setText(record.*EditFieldOf[i]);
}

void TWKPLUGIN::StoreButton(int Index)
{
    ButtonRecord& record = m_set.Buttons[Index];
    for (int i = 0; i < 7; ++i)
        record.*EditFieldOf[i] = Text1(i)->text();
}

void TWKPLUGIN::storeSelectedButton()
{
    if (listCount() > 0 && selectedIndex() >= 0)
        StoreButton(selectedIndex());
}

void TWKPLUGIN::EnableEdit(bool Ena)
{
    for (QWidget* w : std::initializer_list<QWidget*>{m_ui->Command5, m_ui->Command6,
                                                      m_ui->Command1, m_ui->Command2})
        w->setEnabled(Ena);
    for (int i : PreviewFields)
        Command7(i)->setEnabled(Ena);
    for (int i = 0; i < 8; ++i)
        Text1(i)->setEnabled(Ena);
}

void TWKPLUGIN::Combo1_Click()
{
    if (m_rebuildingList)
        return;
    if (m_currentIndex > -1)
        StoreButton(m_currentIndex);
    const int selected = selectedIndex();
    if (selected < 0)
        return;
    m_loadingItem = true;
    LoadItem(selected);
    m_currentIndex = selected;
    m_loadingItem = false;
}

void TWKPLUGIN::Text1_Change(int Index)
{
    if (Index <= 2 || Index == 7)
        refreshPreview(Index);
    if (Index == 7)
        m_set.DefaultDescriptionImage = Text1(7)->text();
    if (!m_loadingItem)
        m_saved = false;
}

// ---- Button list commands ------------------------------------------------------------------

void TWKPLUGIN::Command4_Click()
{
    storeSelectedButton();
    if (listCount() >= MaxButtons) {
        m_dialogs.messageBox(this, QStringLiteral("You already have 100 buttons !"), AppTitle,
                             Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
        return;
    }
    const QString name =
        m_dialogs.inputBox(this, QStringLiteral("Button name : "), QStringLiteral("Add button"),
                           QStringLiteral("Button") + QString::number(listCount() + 1));
    if (name.isEmpty())
        return;
    m_ui->Combo1->appendEntry(name);
    const int added = listCount() - 1;
    m_ui->Combo1->selectEntry(added);
    m_set.Buttons[added].Name = name;
    m_set.Buttons[added].Alt = name;
    if (Text1(5)->text().isEmpty())
        Text1(5)->setText(name);
    if (added > 0)
        Text1(6)->setText(m_set.Buttons[added - 1].ImagePathPrefix);
    EnableEdit(true);
    if (m_ui->AutoImage->isChecked()) {
        Command7_Click(0);
        if (Text1(7)->text().isEmpty())
            Command7_Click(7);
    }
}

void TWKPLUGIN::Command5_Click()
{
    const int selected = selectedIndex();
    if (selected < 0)
        return;
    const QString name =
        m_dialogs.inputBox(this, QStringLiteral("Enter new name:"),
                           QStringLiteral("Edit button name"), m_set.Buttons[selected].Name);
    if (name.isEmpty())
        return;
    m_ui->Combo1->setEntryText(selected, name);
    m_set.Buttons[selected].Name = name;
    m_set.Buttons[selected].Alt = name;
    if (Text1(5)->text().isEmpty())
        Text1(5)->setText(name);
}

void TWKPLUGIN::Command6_Click()
{
    const int selected = selectedIndex();
    if (listCount() == 0 || selected < 0)
        return;
    const QString text = QStringLiteral("Are you sure you want to clear \"") +
                         m_set.Buttons[selected].Name + QStringLiteral("\" ?");
    if (m_dialogs.messageBox(this, text, QStringLiteral("Clear all data ?"),
                             Dialogs::Icon::Exclamation,
                             Dialogs::Buttons::OkCancel) != Dialogs::Answer::Ok)
        return;
    RemoveButton(selected);
    if (listCount() == 0)
        m_saved = true;
}

void TWKPLUGIN::RemoveButton(int Index)
{
    m_rebuildingList = true;
    compactAfterRemoval(m_set, Index, listCount());
    m_ui->Combo1->clearEntries();
    for (int i = 0; i < 7; ++i)
        Text1(i)->setText(QString());
    for (int i = 0; i < MaxButtons && !m_set.Buttons[i].Name.isEmpty(); ++i)
        m_ui->Combo1->appendEntry(m_set.Buttons[i].Name);
    if (listCount() > 0) {
        LoadItem(listCount() - 1);
        m_ui->Combo1->selectEntry(listCount() - 1);
        m_currentIndex = selectedIndex();
    } else {
        m_currentIndex = -1;
        Text1(7)->setText(QString());
        m_set.DefaultDescriptionImage.clear();
        EnableEdit(false);
    }
    m_rebuildingList = false;
}

void TWKPLUGIN::ClearAllData_Click()
{
    if (!m_saved &&
        m_dialogs.messageBox(this, QStringLiteral("Do you want to clear all data ?"),
                             QStringLiteral("Clear all data ?"), Dialogs::Icon::Exclamation,
                             Dialogs::Buttons::OkCancel) == Dialogs::Answer::Cancel)
        return;
    EraseButtons();
    m_dataFileName.clear();
    m_saved = true;
}

void TWKPLUGIN::EraseButtons()
{
    eraseAllRecords(m_set);
    m_ui->Combo1->clearEntries();
    // With the list empty no record is shown any more; a later pick must not
    // store the emptied fields anywhere.
    m_currentIndex = -1;
    for (int i = 0; i < 8; ++i)
        Text1(i)->setText(QString());
    m_set.DefaultDescriptionImage.clear();
    EnableEdit(false);
}

void TWKPLUGIN::ChangeImgPrefix_Click()
{
    const int selected = selectedIndex();
    const QString current = selected >= 0 ? m_set.Buttons[selected].ImagePathPrefix : QString();
    const QString prefix =
        m_dialogs.inputBox(this, QStringLiteral("New prefix : "),
                           QStringLiteral("Change prefix on all buttons to:"), current);
    if (prefix.isEmpty() || prefix.at(0) == QLatin1Char('\r'))
        return;
    for (int i = 0; i < MaxButtons && !m_set.Buttons[i].Name.isEmpty(); ++i) {
        if (i == selected)
            Text1(6)->setText(prefix);
        m_set.Buttons[i].ImagePathPrefix = prefix;
    }
}

void TWKPLUGIN::File_Click()
{
    storeSelectedButton();
    const bool hasButtons = !m_set.Buttons[0].Name.isEmpty();
    m_ui->SaveData->setEnabled(hasButtons);
    m_ui->ClearAllData->setEnabled(hasButtons);
}

void TWKPLUGIN::EditSet_Click()
{
    m_ui->ChangeImgPrefix->setEnabled(listCount() > 0);
}

void TWKPLUGIN::Special_Click()
{
    m_ui->CopyImagesToPath->setEnabled(refersToImages(m_set));
}

// ---- Data file -----------------------------------------------------------------------------

void TWKPLUGIN::OpenData_Click()
{
    if (!m_saved &&
        m_dialogs.messageBox(this, QStringLiteral("Current data is not saved, open new datafile ?"),
                             AppTitle, Dialogs::Icon::Exclamation,
                             Dialogs::Buttons::OkCancel) == Dialogs::Answer::Cancel)
        return;
    const Dialogs::FileChoice choice =
        m_dialogs.openFile(this, QStringLiteral("Open datafile"), DataFileFilter, m_dataFileName);
    if (choice.status == Dialogs::FileChoice::Status::Cancelled)
        return;
    if (choice.status == Dialogs::FileChoice::Status::Failed) {
        showError(QStringLiteral("ERROR! Unable to open file!"));
        return;
    }
    const QString path = withDataFileExtension(choice.path);
    m_dataFileName = path;
    EraseButtons();
    OpenButtons(path);
    m_saved = true;
}

void TWKPLUGIN::OpenButtons(const QString& FilePath)
{
    const DataFileReadResult read = readDataFileAt(FilePath);
    if (read.defaultDescriptionRead)
        m_set.DefaultDescriptionImage = read.DefaultDescriptionImage;
    for (qsizetype n = 0; n < read.buttons.size(); ++n) {
        m_ui->Combo1->appendEntry(read.buttons[n].Name);
        m_set.Buttons[n] = read.buttons[n];
    }
    m_readIncompletely = read.ok ? QString() : FilePath;
    if (!read.ok) {
        showError(QStringLiteral("ERROR! Unable to open file."));
        return;
    }
    if (listCount() > 0) {
        m_currentIndex = -1;
        m_ui->Combo1->selectEntry(0);
        m_currentIndex = 0;
        Text1(7)->setText(m_set.DefaultDescriptionImage);
        EnableEdit(true);
    }
}

void TWKPLUGIN::SaveData_Click()
{
    const Dialogs::FileChoice choice = m_dialogs.saveFile(
        this, QStringLiteral("Save datafile"), DataFileFilter,
        m_dataFileName.isEmpty() ? QStringLiteral("Rollcraft2_untitled") : m_dataFileName);
    if (choice.status == Dialogs::FileChoice::Status::Cancelled)
        return;
    if (choice.status == Dialogs::FileChoice::Status::Failed) {
        showError(QStringLiteral("ERROR! Unable to save file!"));
        return;
    }
    m_dataFileName = choice.path;
    // The set holds only what was read before the error: what followed stays
    // in the earlier file, kept beside the new one.
    if (choice.path == m_readIncompletely && QFile::exists(choice.path)) {
        const QString backup = choice.path + u'~';
        QFile::remove(backup);
        if (!QFile::copy(choice.path, backup)) {
            showError(QStringLiteral("ERROR! Unable to save file."));
            return;
        }
    }
    if (SaveButtons(choice.path)) {
        m_saved = true;
        if (choice.path == m_readIncompletely)
            m_readIncompletely.clear();
    }
}

QList<ButtonRecord> TWKPLUGIN::listedButtons() const
{
    QList<ButtonRecord> buttons;
    for (int i = 0; i < listCount(); ++i) {
        buttons.append(m_set.Buttons[i]);
        buttons.last().Name = m_ui->Combo1->itemText(i);
    }
    return buttons;
}

bool TWKPLUGIN::SaveButtons(const QString& FilePath)
{
    // A value holding a line break would spoil the file: the earlier one stays.
    const std::optional<QByteArray> bytes =
        writeDataFile(m_set.DefaultDescriptionImage, listedButtons());
    if (bytes && saveFileAtomically(FilePath, *bytes))
        return true;
    showError(QStringLiteral("ERROR! Unable to save file."));
    return false;
}

// ---- Image choice and preview --------------------------------------------------------------

void TWKPLUGIN::Command7_Click(int Index)
{
    const Dialogs::FileChoice choice =
        m_dialogs.openFile(this, chooserTitle(Index), ImageFilter, QString());
    if (choice.status == Dialogs::FileChoice::Status::Cancelled)
        return;
    if (choice.status == Dialogs::FileChoice::Status::Failed) {
        showError(QStringLiteral("ERROR! Unable to get image path!"));
        return;
    }
    const QString extension = choice.path.right(3).toUpper();
    if (extension != QLatin1String("GIF") && extension != QLatin1String("JPG"))
        m_dialogs.messageBox(
            this, QStringLiteral("The imageformat you have choosen,might not work in a browser !"),
            AppTitle, Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
    Text1(Index)->setText(choice.path);
    if (m_ui->AutoImage->isChecked() && (Index == 0 || Index == 1) &&
        Text1(Index + 1)->text().isEmpty())
        Command7_Click(Index + 1);
}

void TWKPLUGIN::refreshPreview(int Index)
{
    const QSize shown = Image1(Index)->shownSize();
    m_decoders[previewSlot(Index)]->decode(Text1(Index)->text(),
                                           [shown](QSize) { return QRect(QPoint(), shown); });
}

void TWKPLUGIN::showPreview(int Index, const QString& path, const PicturePart& part)
{
    PreviewPicture* picture = Image1(Index);
    if (part.image.isNull()) {
        picture->clear();
        Label9(Index)->setVisible(!path.isEmpty());
        return;
    }
    picture->resize(part.image.size());
    picture->setPixmap(QPixmap::fromImage(part.image));
    Label9(Index)->setVisible(false);
}

void TWKPLUGIN::AutoImage_Click()
{
    writeAutoImage(m_ui->AutoImage->isChecked());
}

// ---- Delivering the page -------------------------------------------------------------------

void TWKPLUGIN::MakeScript(bool Prv)
{
    setExchange(PluginExchange::Field::SCRIPT, QString());
    setExchange(PluginExchange::Field::SCRIPT,
                buildPage(m_set, Prv ? PageMode::Preview : PageMode::Page));
}

void TWKPLUGIN::Command1_Click()
{
    if (listCount() == 0)
        return;
    if (selectedIndex() >= 0)
        StoreButton(selectedIndex());
    m_ScriptInserted = true;
    // Published first, so that a host has the set by the time the page comes.
    m_exchange.setInsertedSet(dataFileText(m_set.DefaultDescriptionImage, listedButtons()));
    setExchange(PluginExchange::Field::SCRIPTTYPE, scriptTitle(m_clock()));
    MakeScript(false);
    m_UnloadTimer->start();
}

void TWKPLUGIN::UnloadTimer_Timer()
{
    m_UnloadTimer->stop();
    close();
}

void TWKPLUGIN::Command2_Click()
{
    storeSelectedButton();
    MakeScript(true);
    QCoreApplication::processEvents();
    m_PreviewTimer->start();
}

void TWKPLUGIN::PreviewTimer_Timer()
{
    m_PreviewTimer->stop();
    setExchange(PluginExchange::Field::PREVIEW, QStringLiteral("PREVIEW"));
    setExchange(PluginExchange::Field::PREVIEW, QString());
}

// ---- Looking at things ---------------------------------------------------------------------

void TWKPLUGIN::Image1_Click(int Index)
{
    // The viewer shows what the field names now, not a picture still on its way.
    m_decoders[previewSlot(Index)]->finish();
    if (Image1(Index)->pixmap().isNull() || Label9(Index)->isVisible())
        return;
    // The viewer holds what the screen shows of the picture, decoded afresh
    // as the preview holds only its corner.
    const QSize screen = this->screen()->geometry().size();
    m_viewerDecoder->decode(Text1(Index)->text(),
                            [screen](QSize picture) { return centredPart(picture, screen); });
}

void TWKPLUGIN::openViewer(const QString& path, const PicturePart& picture)
{
    if (picture.image.isNull())
        return;
    if (m_viewer)
        m_viewer->close();
    m_viewer = openFullScreenViewer(picture, this);
    m_viewer->setFilePath(path);
}

void TWKPLUGIN::Command8_Click()
{
    DemoMenu demo(m_dialogs, this);
    demo.exec();
}

void TWKPLUGIN::About_Click()
{
    AboutWindow about(this);
    about.exec();
}
