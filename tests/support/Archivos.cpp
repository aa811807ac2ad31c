#include "Archivos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

namespace prueba {

QByteArray Leer(const QString& ruta) {
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("<ilegible>"); // equal to no content a test expects
    return archivo.readAll();
}

bool Escribir(const QString& ruta, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(ruta).absolutePath());
    QFile archivo(ruta);
    const bool bien = archivo.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                      archivo.write(bytes) == bytes.size() && archivo.flush();
    if (!bien)
        QTest::qFail(qPrintable(QStringLiteral("cannot write ") + ruta), __FILE__, __LINE__);
    return bien;
}

QByteArray Basura(quint32 semilla, int largo) {
    QRandomGenerator azar(semilla);
    QByteArray bytes;
    while (bytes.size() < largo) {
        const char c = char(azar.bounded(256));
        if (c != '\r' && c != '\n' && c != '[' && c != '=')
            bytes += c;
    }
    return bytes;
}

quint32 Semilla(quint32 porDefecto) {
    bool correcta = false;
    const quint32 dada = qEnvironmentVariable("PRUEBAS_SEMILLA").toUInt(&correcta);
    const quint32 semilla = correcta ? dada : porDefecto;
    qInfo("seed %u (PRUEBAS_SEMILLA=%u replays this run)", semilla, semilla);
    return semilla;
}

void FallarConAvisos() {
    // What the headless and virtual platforms say of themselves on every run, and the
    // runtime folder a root session has no variable for: nothing a program did wrong.
    static const QRegularExpression kFuera(QStringLiteral(
        "^(?!.*(does not support raise|does not support setting window masks|"
        "does not support grabbing the keyboard|systemTrayWindowChanged|XDG_RUNTIME_DIR|"
        "runtime directory))"));
    QTest::failOnWarning(kFuera);
}

} // namespace prueba
