#include "Etiqueta.h"

#include "Texto.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QPointer>
#include <QTimer>

namespace comun {

void Etiqueta::PonerCaption(const QString& caption) {
    if (caption == caption_ && !text().isEmpty())
        return;
    caption_ = caption;
    setText(TextoVisible(caption));
}

void PonerNombreAccesible(QWidget* control, const QString& nombre, const QString& descripcion) {
    const auto enUnaLinea = [](QString texto) {
        return texto.replace(QLatin1Char('\r'), QLatin1Char(' ')).simplified();
    };
    control->setAccessibleName(enUnaLinea(nombre));
    control->setAccessibleDescription(enUnaLinea(descripcion));
}

namespace {

// Whether a click could reach the control: it is shown and enabled, and no other window
// holds the input (a message box, the program locator: the programs' dialogs are all
// application-modal).
bool Pulsable(const QWidget* control) {
    const QWidget* modal = QApplication::activeModalWidget();
    return control->isVisible() && control->isEnabled() && (!modal || modal == control->window());
}

// What a screen reader gets of a command picture. Name and description are the
// control's own (QAccessibleWidget reads them when asked); the actions are "Press" and
// whatever the widget offers besides (setting the focus, where it takes one).
class BotonAccesible : public QAccessibleWidget {
public:
    BotonAccesible(QWidget* control, std::function<void()> pulsar)
        : QAccessibleWidget(control, QAccessible::PushButton), pulsar_(std::move(pulsar)) {}

    void PonerPulsar(std::function<void()> pulsar) { pulsar_ = std::move(pulsar); }

    QStringList actionNames() const override {
        QStringList nombres = QAccessibleWidget::actionNames();
        if (Pulsable(widget()))
            nombres.prepend(pressAction());
        return nombres;
    }

    void doAction(const QString& accion) override {
        if (accion != pressAction()) {
            QAccessibleWidget::doAction(accion);
            return;
        }
        if (!Pulsable(widget()))
            return;
        // Run as a click is: from the event loop, with the control still there to click.
        QTimer::singleShot(0, widget(), [control = QPointer<QWidget>(widget()), pulsar = pulsar_] {
            if (control && Pulsable(control))
                pulsar();
        });
    }

    QStringList keyBindingsForAction(const QString& accion) const override {
        return accion == pressAction() ? QStringList()
                                       : QAccessibleWidget::keyBindingsForAction(accion);
    }

private:
    std::function<void()> pulsar_;
};

} // namespace

void PonerBotonAccesible(QWidget* control, const QString& nombre, const QString& descripcion,
                         std::function<void()> pulsar) {
    PonerNombreAccesible(control, nombre, descripcion);
    // The toolkit keeps one interface per control, made when first asked for (a name
    // change may already have asked): that one gives way to the button.
    if (QAccessibleInterface* actual = QAccessible::queryAccessibleInterface(control)) {
        if (auto* boton = dynamic_cast<BotonAccesible*>(actual)) {
            boton->PonerPulsar(std::move(pulsar));
            return;
        }
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(actual));
    }
    QAccessible::registerAccessibleInterface(new BotonAccesible(control, std::move(pulsar)));
}

} // namespace comun
