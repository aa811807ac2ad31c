#include "Texto.h"

#include <QDir>
#include <QStringDecoder>

namespace comun {

namespace {
// 0x80..0x9F of Windows-1252; 0 marks the five bytes the code page leaves undefined,
// which Windows itself passes through as the matching C1 control character.
constexpr char16_t kCp1252Alto[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
} // namespace

QString DecodificarCp1252(const QByteArray& bytes) {
    QString texto;
    texto.resize(bytes.size());
    QChar* destino = texto.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        char16_t c = b;
        if (b >= 0x80 && b <= 0x9F && kCp1252Alto[b - 0x80] != 0)
            c = kCp1252Alto[b - 0x80];
        destino[i] = QChar(c);
    }
    return texto;
}

bool EsUtf8Valido(const QByteArray& bytes) {
    QStringDecoder decodificador(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString resultado = decodificador.decode(bytes);
    return !decodificador.hasError();
}

QString DecodificarTexto(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (EsUtf8Valido(bytes))
        return QString::fromUtf8(bytes);
    return DecodificarCp1252(bytes);
}

QString TextoVisible(const QString& texto) {
    QString visible = texto;
    visible.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    visible.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return visible;
}

QString Nativo(const QString& ruta) {
    return QDir::toNativeSeparators(ruta);
}

} // namespace comun
