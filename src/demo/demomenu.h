// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QDialog>
#include <array>
#include <memory>

class DemoBox;
class Dialogs;
namespace Ui {
class Form3;
}

// Form3, the demo of the rollover menu: two buttons and a description area
// that behave as the generated page does, beside the seven pictures they use,
// with markers and connectors showing which picture each box shows.
class DemoMenu final : public QDialog {
    Q_OBJECT
public:
    static constexpr int Markers = 10;
    static constexpr int Connectors = 7;

    DemoMenu(Dialogs& dialogs, QWidget* mainWindow);
    ~DemoMenu() override;

    [[nodiscard]] DemoBox* Picture1(int Index) const;
    [[nodiscard]] QColor markerOutline(int Index) const { return m_Shape1[Index]; }
    [[nodiscard]] bool connectorVisible(int Index) const { return m_Line1[Index]; }

    // The pointer moved over box `Index` to (X, Y) in the box's own pixels;
    // its leaving the box comes as a move to (-1, -1).
    void Picture1_MouseMove(int Index, Qt::MouseButtons Button, Qt::KeyboardModifiers Shift,
                            double X, double Y);
    void Picture1_MouseUp(int Index, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, double X,
                          double Y);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Form_Load();
    void lighten(int Index);
    void darken(int Index);

    std::unique_ptr<Ui::Form3> m_ui;
    Dialogs& m_dialogs;
    std::array<DemoBox*, 3> m_Picture1;
    std::array<QColor, Markers> m_Shape1;
    std::array<bool, Connectors> m_Line1{};
};
