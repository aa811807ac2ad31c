#pragma once

#include <QLabel>

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

} // namespace comun
