#pragma once

#include <QByteArray>
#include <QString>

namespace comun {

// Bytes from files written on a Spanish Windows desktop are Windows-1252;
// files written here are UTF-8. A text that is valid UTF-8 is taken as UTF-8.
QString DecodificarCp1252(const QByteArray& bytes);
bool EsUtf8Valido(const QByteArray& bytes);
QString DecodificarTexto(const QByteArray& bytes);

// Labels and message boxes keep their texts with the single carriage return the
// programs use; Qt only breaks lines at "\n", so the conversion happens when shown.
QString TextoVisible(const QString& texto);

// Relative names such as "Ayuda/Rendalio.htm" with the platform's separator.
QString Nativo(const QString& ruta);

} // namespace comun
