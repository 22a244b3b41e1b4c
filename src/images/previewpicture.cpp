// SPDX-License-Identifier: GPL-3.0-or-later
#include "previewpicture.h"

#include <QAccessibleWidget>
#include <QMouseEvent>

namespace {

class AccessiblePreview final : public QAccessibleWidget {
public:
    explicit AccessiblePreview(PreviewPicture* preview)
        : QAccessibleWidget(preview, QAccessible::Graphic)
    {
        // Tell a screen reader when the failure text comes and goes.
        if (QLabel* failure = preview->failureLabel())
            failure->installEventFilter(preview);
    }

    [[nodiscard]] QString text(QAccessible::Text t) const override
    {
        QString text = QAccessibleWidget::text(t);
        const QLabel* failure = preview()->failureLabel();
        if (t == QAccessible::Name && failure && !failure->isHidden())
            text += QStringLiteral(": ") + failure->text();
        return text;
    }

    [[nodiscard]] QStringList actionNames() const override
    {
        return QAccessibleWidget::actionNames() << pressAction();
    }

    void doAction(const QString& actionName) override
    {
        if (actionName == pressAction())
            emit preview()->clicked();
        else
            QAccessibleWidget::doAction(actionName);
    }

private:
    [[nodiscard]] PreviewPicture* preview() const { return static_cast<PreviewPicture*>(widget()); }
};

QAccessibleInterface* accessiblePreview(const QString& className, QObject* object)
{
    if (className == QLatin1String("PreviewPicture"))
        return new AccessiblePreview(static_cast<PreviewPicture*>(object));
    return nullptr;
}

} // namespace

PreviewPicture::PreviewPicture(QWidget* parent) : QLabel(parent)
{
    // Installing the same factory again does nothing.
    QAccessible::installFactory(accessiblePreview);
}

QLabel* PreviewPicture::failureLabel() const
{
    const QString name = property("failureLabel").toString();
    if (name.isEmpty() || !parentWidget())
        return nullptr;
    return parentWidget()->findChild<QLabel*>(name, Qt::FindDirectChildrenOnly);
}

QSize PreviewPicture::shownSize() const
{
    if (!parentWidget())
        return size();
    return parentWidget()->size() - QSize(x(), y());
}

void PreviewPicture::mouseReleaseEvent(QMouseEvent* event)
{
    if (rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

bool PreviewPicture::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) {
        QAccessibleEvent changed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
    return QLabel::eventFilter(watched, event);
}
