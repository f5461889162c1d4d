#pragma once
// Helpers of the dialog tests: small part trees and answering the modal
// windows (message boxes, detail dialogs) that code under test opens.

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <bit>
#include <cstdint>
#include <functional>

#include "document/DotDocument.h"
#include "document/DotPart.h"

// Appends a new part under parent (the top level when null).
inline CDotPart& AppendPart(CDotDocument& document, CPart* parent, std::u16string name) {
    CPartParent& owner = parent ? static_cast<CPartParent&>(*parent) : document;
    const int index =
        owner.InsertChild(-1, document.CreatePart(document.GetFreeId(), std::move(name)));
    return static_cast<CDotPart&>(*owner.GetChild(index));
}

// Runs action on the next modal window once it is open (it may be opened
// later in the same call, inside its own event loop).
inline void OnNextModal(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start();
}

// Closes the next message box and stores its text in text.
inline void CloseNextMessage(QString* text) {
    OnNextModal([text](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            *text = box->text();
        modal->close();
    });
}

inline uint32_t Bits(float value) { return std::bit_cast<uint32_t>(value); }
