// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/template_stretch.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "common/dialog_builder.h"

TemplateStretch::TemplateStretch(QWidget* dialog,
                                 std::initializer_list<std::pair<int, unsigned>> controls)
    : m_Dialog(dialog), m_TemplateSize(dialog->size()) {
    for (const auto& [id, follow] : controls) {
        QWidget* control = FindControl<QWidget>(dialog, id);
        m_Entries.push_back({control, control->geometry(), follow});
    }
    dialog->setMinimumSize(m_TemplateSize);
    dialog->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void TemplateStretch::Apply() const {
    const int wider = std::max(0, m_Dialog->width() - m_TemplateSize.width());
    const int higher = std::max(0, m_Dialog->height() - m_TemplateSize.height());
    for (const Entry& entry : m_Entries) {
        QRect place = entry.place;
        if ((entry.follow & GrowWidth) != 0) {
            place.setWidth(place.width() + wider);
        }
        if ((entry.follow & GrowHeight) != 0) {
            place.setHeight(place.height() + higher);
        }
        if ((entry.follow & MoveRight) != 0) {
            place.translate(wider, 0);
        }
        if ((entry.follow & MoveDown) != 0) {
            place.translate(0, higher);
        }
        entry.control->setGeometry(place);
    }
}

void TemplateStretch::Fit(const QWidget* control, QSize wanted) const {
    QSize size = m_Dialog->size() + (wanted - control->size()).expandedTo(QSize(0, 0));
    // Never past the screen: beyond it the rows scroll.
    if (const QScreen* screen =
            m_Dialog->screen() ? m_Dialog->screen() : QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableSize() * 9 / 10).expandedTo(m_Dialog->size());
    }
    m_Dialog->resize(size);
}
