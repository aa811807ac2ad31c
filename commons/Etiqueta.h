#pragma once

#include <QLabel>
#include <functional>

namespace comun {

// A label that keeps its caption exactly as the program set it (single carriage
// returns included) and shows it with the line breaks Qt understands.
class Etiqueta : public QLabel {
    Q_OBJECT
public:
    explicit Etiqueta(QWidget* padre = nullptr) : QLabel(padre) {}
    void PonerCaption(const QString& caption);
    const QString& Caption() const { return caption_; }

private:
    QString caption_;
};

// Gives a control that shows no text of its own (a hot zone, a picture) the name and
// description a screen reader announces. A caption's lines are read as one sentence.
void PonerNombreAccesible(QWidget* control, const QString& nombre,
                          const QString& descripcion = QString());

// Makes a command picture (a hot zone, a picture, a label or a button that acts on a
// click) a push button for a screen reader: named and described as PonerNombreAccesible
// does, with the first action "Press" running `pulsar`, which does what a left click on
// the control does. Nothing visible changes and the control takes no focus it did not
// take before. "Press" is offered only while a click could reach the control (shown,
// enabled, under no other program window that holds the input); it runs on the next
// turn of the event loop, so that the screen reader's request is answered at once even
// when the command opens a modal window.
void PonerBotonAccesible(QWidget* control, const QString& nombre, const QString& descripcion,
                         std::function<void()> pulsar);

} // namespace comun
