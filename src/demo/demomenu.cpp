// SPDX-License-Identifier: GPL-3.0-or-later
#include "demomenu.h"

#include "apptitle.h"
#include "demobox.h"
#include "dialogs.h"
#include "formfont.h"
#include "ui_demomenu.h"

#include <QPainter>

namespace {

constexpr double Twips = 15.0;

QPointF at(double x, double y)
{
    return {x / Twips, y / Twips};
}

// Markers (filled black circles, 165 x 180 twips): left, top.
constexpr double MarkerPlaces[DemoMenu::Markers][2] = {
    {2715, 480},  {2715, 840},  {2715, 1740}, {2715, 2835}, {2715, 3225},
    {2715, 4095}, {2715, 5730}, {5235, 495},  {5235, 870},  {5235, 1740}};

// Connectors between the demo boxes and the pictures: x1, y1, x2, y2.
constexpr double ConnectorEnds[DemoMenu::Connectors][4] = {
    {5280, 570, 2820, 570},  {5325, 570, 2790, 915},   {5310, 960, 2805, 2910},
    {5310, 945, 2790, 3300}, {5295, 1815, 2805, 5805}, {5325, 1815, 2790, 1815},
    {5310, 1815, 2805, 4170}};

// The legend: a dot (120 x 150 twips) and a pointer to one example each.
struct LegendEntry {
    QColor colour;
    double dotTop;
    double x1, y1, x2, y2;
};
const LegendEntry Legend[] = {
    {Qt::red, 4275, 5670, 4335, 2790, 540},
    {Qt::yellow, 4575, 5670, 4650, 2790, 945},
    {Qt::blue, 4875, 5685, 4950, 2790, 1815},
    {Qt::magenta, 5160, 5685, 5235, 2790, 5805},
};

const QColor Yellow(255, 255, 0);

QPixmap picture(const char* name)
{
    return QPixmap(QStringLiteral(":/demo/%1.gif").arg(QLatin1String(name)));
}

} // namespace

DemoMenu::DemoMenu(Dialogs& dialogs, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_ui(std::make_unique<Ui::Form3>()), m_dialogs(dialogs)
{
    m_ui->setupUi(this);
    m_Picture1 = {m_ui->Picture1_0, m_ui->Picture1_1, m_ui->Picture1_2};
    setFont(formFont());
    setFixedSize(size());
    m_Shape1.fill(Qt::black);
    const std::array legend{m_ui->Label3, m_ui->Label4, m_ui->Label5, m_ui->Label6};
    for (std::size_t i = 0; i < legend.size(); ++i) {
        QPalette palette = legend[i]->palette();
        palette.setColor(QPalette::WindowText, Legend[i].colour);
        legend[i]->setPalette(palette);
    }
    for (int i = 0; i < 3; ++i) {
        connect(Picture1(i), &DemoBox::mouseMoved, this,
                [this, i](Qt::MouseButtons b, Qt::KeyboardModifiers s, QPointF p) {
                    Picture1_MouseMove(i, b, s, p.x(), p.y());
                });
        connect(Picture1(i), &DemoBox::mouseLeft, this,
                [this, i] { Picture1_MouseMove(i, Qt::NoButton, Qt::NoModifier, -1, -1); });
        connect(Picture1(i), &DemoBox::mouseReleased, this,
                [this, i](Qt::MouseButton b, Qt::KeyboardModifiers s, QPointF p) {
                    Picture1_MouseUp(i, b, s, p.x(), p.y());
                });
    }
    connect(m_ui->Command1, &QPushButton::clicked, this, &QDialog::accept);
    Form_Load();
}

DemoMenu::~DemoMenu() = default;

DemoBox* DemoMenu::Picture1(int Index) const
{
    return m_Picture1.at(static_cast<std::size_t>(Index));
}

void DemoMenu::Form_Load()
{
    if (parentWidget())
        setWindowIcon(parentWidget()->windowIcon());
    Picture1_MouseMove(0, Qt::NoButton, Qt::NoModifier, -1, -1);
}

void DemoMenu::Picture1_MouseMove(int Index, Qt::MouseButtons, Qt::KeyboardModifiers, double X,
                                  double Y)
{
    if (Index >= 2)
        return;
    const DemoBox* box = Picture1(Index);
    const bool inside = X >= 0 && X <= box->width() && Y >= 0 && Y <= box->height();
    if (inside)
        lighten(Index);
    else
        darken(Index);
    update();
}

void DemoMenu::lighten(int Index)
{
    // What lighting each button shows: its pictures, the markers that turn
    // yellow and black, the connectors shown and hidden.
    struct Lighting {
        const char* over;
        const char* description;
        std::array<int, 3> yellow;
        std::array<int, 2> black;
        std::array<int, 2> shown;
        std::array<int, 2> hidden;
    };
    static const Lighting Buttons[2] = {
        {"about_over", "about_description", {7, 1, 2}, {0, 6}, {1, 5}, {0, 4}},
        {"contact_over", "contact_description", {8, 4, 5}, {3, 6}, {3, 6}, {2, 4}},
    };
    const Lighting& lit = Buttons[Index];
    Picture1(Index)->setPixmap(picture(lit.over));
    Picture1(2)->setPixmap(picture(lit.description));
    for (int m : lit.yellow)
        m_Shape1[m] = Yellow;
    for (int m : lit.black)
        m_Shape1[m] = Qt::black;
    for (int c : lit.shown)
        m_Line1[c] = true;
    for (int c : lit.hidden)
        m_Line1[c] = false;
}

void DemoMenu::darken(int Index)
{
    Picture1(Index)->setPixmap(picture(Index == 0 ? "about_out" : "contact_out"));
    Picture1(2)->setPixmap(picture("default_description"));
    m_Shape1.fill(Qt::black);
    m_Line1.fill(false);
    m_Line1[0] = m_Line1[2] = m_Line1[4] = true;
    for (int m : {9, 6, 7, 0, 8, 3})
        m_Shape1[m] = Yellow;
}

void DemoMenu::Picture1_MouseUp(int Index, Qt::MouseButton, Qt::KeyboardModifiers, double, double)
{
    const QString text = Index == 0   ? QStringLiteral("You clicked on \"About\"")
                         : Index == 1 ? QStringLiteral("You clicked on \"Contact\"")
                                      : QStringLiteral("This image has no URL !");
    {
        // The message box coming up under the pointer is no move off the box:
        // a lit button stays lit behind it.
        const QSignalBlocker quiet(Picture1(Index));
        m_dialogs.messageBox(this, text, AppTitle, Dialogs::Icon::Information,
                             Dialogs::Buttons::Ok);
    }
    Picture1_MouseMove(0, Qt::NoButton, Qt::NoModifier, -1, -1);
}

void DemoMenu::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < Connectors; ++i) {
        if (!m_Line1[i])
            continue;
        p.setPen(QPen(Qt::black, 1));
        const auto& e = ConnectorEnds[i];
        p.drawLine(at(e[0], e[1]), at(e[2], e[3]));
    }
    for (const LegendEntry& l : Legend) {
        p.setPen(QPen(l.colour, 1));
        p.drawLine(at(l.x1, l.y1), at(l.x2, l.y2));
        p.setBrush(l.colour);
        p.drawEllipse(QRectF(at(5625, l.dotTop), QSizeF(120 / Twips, 150 / Twips)));
    }
    p.setBrush(Qt::black);
    for (int i = 0; i < Markers; ++i) {
        p.setPen(QPen(m_Shape1[i], 1.5));
        p.drawEllipse(
            QRectF(at(MarkerPlaces[i][0], MarkerPlaces[i][1]), QSizeF(165 / Twips, 180 / Twips)));
    }
}
