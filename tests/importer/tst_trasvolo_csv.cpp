#include "Archivos.h"
#include "Csv.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace importer;

namespace {
const QString kCabecera = QStringLiteral("Nombre,Email,Calle,Ciudad,CP,Provincia,Pais,Tel,Movil,"
                                         "Web,Notas");

// How an exporter writes one value: quoted when it holds the separator, a quote or a
// line break, with its inner quotes doubled.
QString Exportar(const QString& valor, QChar separador) {
    const bool comillas = valor.contains(separador) || valor.contains(u'"') ||
                          valor.contains(u'\r') || valor.contains(u'\n');
    if (!comillas)
        return valor;
    QString doblado = valor;
    doblado.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + doblado + u'"';
}

// What the import keeps of an exported value: the value itself, with each line break
// turned into one space.
QString Esperado(QString e) {
    e.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    e.replace(u'\r', u' ');
    e.replace(u'\n', u' ');
    return e;
}

QString Aleatorio(QRandomGenerator& azar, const QString& alfabeto, int maximo) {
    QString s;
    const int largo = int(azar.bounded(maximo + 1));
    for (int i = 0; i < largo; ++i)
        s += alfabeto[int(azar.bounded(alfabeto.size()))];
    return s;
}

QString SinBlancos(QString s) {
    s.remove(u'\r');
    s.remove(u'\n');
    s.remove(u' ');
    return s;
}
} // namespace

class TstTrasvoloCsv : public QObject {
    Q_OBJECT
private slots:
    void init() { prueba::FallarConAvisos(); }
    void lineasYReagrupado();
    void decodificacion();
    void particionDeContacto();
    void filaParaLaTabla();
    void azarSembrado();
};

void TstTrasvoloCsv::lineasYReagrupado() {
    // The break after the last line makes no extra line; a blank last line is a line.
    QCOMPARE(LineasArchivo(u"a\r\nb\r\n"), QStringList({"a", "b"}));
    QCOMPARE(LineasArchivo(u"a\rb\nc"), QStringList({"a", "b", "c"}));
    QCOMPARE(RegistrosDeTexto(u"H\r\na\r\n\r\n"), QStringList({"H", "a", ""}));
    QCOMPARE(RegistrosDeTexto(u""), QStringList({""})); // an empty file still has a header
    // A quoted value over three lines ends up on one, its breaks turned into spaces.
    QCOMPARE(RegistrosDeTexto(u"H\r\nx,\"Calle 1\r\n\r\nPiso 2\",y\r\nz"),
             QStringList({"H", "x,\"Calle 1  Piso 2\",y", "z"}));
    // A quote left open at the end of the file keeps the lines joined to the end.
    QCOMPARE(RegistrosDeTexto(u"H\r\n\"a\r\nb"), QStringList({"H", "\"a b"}));
    QCOMPARE(SeparadorDeCabecera(u"Nombre;Email"), std::optional<QChar>(u';'));
    QVERIFY(!SeparadorDeCabecera(u"Nombre"));

    // Only an export's header: "Nombre" and a character that can separate.
    QVERIFY(CabeceraValida(u"Nombre,Email"));
    QVERIFY(CabeceraValida(u"NOMBRE\tEmail"));
    for (const char16_t* otra : {u"Nombre", u"Nombres,Email", u"Nombre Email", u"Name,E-mail",
                                 u"\"Nombre\",Email", u"Nombre\"Email"})
        QVERIFY2(!CabeceraValida(otra), qPrintable(QString::fromUtf16(otra)));

    // A quote left open is reported at the line where its record starts, when it took in
    // a later line; on the last line alone it takes nothing in.
    QCOMPARE(LineaComillaSinCerrar({"H", "a", "\"b", "c", "d"}), 3);
    QCOMPARE(LineaComillaSinCerrar({"H", "a", "x,\"b"}), 0);
    QCOMPARE(LineaComillaSinCerrar({"H", "\"a", "b\"", "c"}), 0);
    QCOMPARE(LineaComillaSinCerrar({"H", "\"a", "b\"\"", "c"}), 2);
}

void TstTrasvoloCsv::decodificacion() {
    // Marks of UTF-8 and UTF-16; without one, each line in the encoding it is valid in.
    QCOMPARE(DecodificarCsv("\xEF\xBB\xBFJos\xC3\xA9"), QString("José"));
    QCOMPARE(DecodificarCsv(QByteArray("\xFF\xFEJ\0o\0s\0\xE9\0", 10)), QString("José"));
    QCOMPARE(DecodificarCsv(QByteArray("\xFE\xFF\0J\0\xE9", 6)), QString("Jé"));
    QCOMPARE(DecodificarCsv("Jos\xC3\xA9\r\nPe\xF1"
                            "a\rA\xF1o\n\x80"),
             QString("José\r\nPeña\rAño\n€"));
    // A mark inside the file stays a character: the line breaks around it stay two.
    QCOMPARE(LineasArchivo(DecodificarCsv("a\r\xEF\xBB\xBF\n\xF1")).size(), 3);
}

void TstTrasvoloCsv::particionDeContacto() {
    const auto p =
        PartirContacto(u"\"Soto, Ana\",a@b,c,d,e,f,g,h,i,j,\"Comprar pan, leche\"", QChar(u','));
    QVERIFY(p.campos);
    QCOMPARE(p.campos->valores[0], QString("Soto, Ana"));
    QCOMPARE(p.campos->valores[9], QString("j"));
    QCOMPARE(p.campos->notas, QString("Comprar pan, leche"));

    // A doubled quote inside quotes is one quote, in the notes too; a quote in the middle
    // of an unquoted value is kept with the value; an empty quoted value is empty.
    const auto q = PartirContacto(
        u"\"Bar \"\"El Sol\"\"\",Carlos \"Ch\" V,\"\",,,,,,,,\"di \"\"hola\"\"\"", QChar(u','));
    QVERIFY(q.campos);
    QCOMPARE(q.campos->valores[0], QString("Bar \"El Sol\""));
    QCOMPARE(q.campos->valores[1], QString("Carlos \"Ch\" V"));
    QCOMPARE(q.campos->valores[2], QString());
    QCOMPARE(q.campos->notas, QString("di \"hola\""));

    // The quote count runs over the whole line: an odd quote in field 1 hides the
    // separators after it.
    QCOMPARE(PartirContacto(u"a\"b,c,d,e,f,g,h,i,j,k,", QChar(u',')).campoSinSeparador, 1);
    QCOMPARE(PartirContacto(u"a,b,c", QChar(u',')).campoSinSeparador, 3);
    QCOMPARE(PartirContacto(u"", QChar(u',')).campoSinSeparador, 1);
    QCOMPARE(PartirContacto(u"a,b,c,d,e,f,g,h,i,j,k", std::nullopt).campoSinSeparador, 1);
    QVERIFY(PartirContacto(u"a;b;c;d;e;f;g;h;i;j;k", QChar(u';')).campos);
}

void TstTrasvoloCsv::filaParaLaTabla() {
    CamposContacto c;
    c.valores = {"josé", "", "Calle", "", "", "", "", "", "", ""};
    FilaDatos f = ComponerFila(c);
    QCOMPARE(f.clave, QString("JOSÉ"));
    QCOMPARE(f.Nombre, QString("josé"));
    QCOMPARE(f.Email, QString("?"));
    QCOMPARE(f.Direccion, QString("Calle\r\n\r\n\r\n\r\n"));
    QCOMPARE(f.Notas, QString("?"));
    c.valores = {"", "", "", "Lyon", "69001", "Rhône", "Francia", "1", "2", "w"};
    c.notas = "\"n\"";
    f = ComponerFila(c);
    QCOMPARE(f.clave, QString()); // an empty name is matched as empty, stored as "?"
    QCOMPARE(f.Nombre, QString("?"));
    QCOMPARE(f.Direccion, QString("?\r\nLyon\r\n69001\r\nRhône\r\nFrancia"));
    QCOMPARE(f.Notas, QString("\"n\""));
}

void TstTrasvoloCsv::azarSembrado() {
    QRandomGenerator azar(prueba::Semilla(20261206));
    const QString letras = QStringLiteral("abcñáÉ \"\r\n,;é€");
    for (int ronda = 0; ronda < 300; ++ronda) {
        // Well-formed exports: every value comes back as it was before the export (breaks
        // as spaces), the notes included.
        const QChar sep = azar.bounded(2) ? u',' : u';';
        QList<QStringList> contactos;
        QString texto = QString(kCabecera).replace(u',', sep);
        const int n = int(azar.bounded(6));
        for (int i = 0; i < n; ++i) {
            QStringList valores;
            QStringList exportados;
            for (int campo = 0; campo < 10; ++campo) {
                valores << Aleatorio(azar, letras, 8);
                exportados << Exportar(valores.last(), sep);
            }
            valores << Aleatorio(azar, letras, 8); // the notes
            exportados << Exportar(valores.last(), sep);
            contactos << valores;
            texto += QStringLiteral("\r\n") + exportados.join(sep);
        }
        const QStringList registros = RegistrosDeTexto(texto);
        QCOMPARE(registros.size(), qsizetype(n + 1));
        for (int i = 0; i < n; ++i) {
            const Particion p = PartirContacto(registros[i + 1], SeparadorDeCabecera(registros[0]));
            QVERIFY2(p.campos, qPrintable(registros[i + 1]));
            for (int campo = 0; campo < 10; ++campo)
                QCOMPARE(p.campos->valores[campo], Esperado(contactos[i][campo]));
            QCOMPARE(p.campos->notas, Esperado(contactos[i][10]));
        }

        // Any text at all: no crash, no hang, and no character but line breaks and the
        // joining spaces goes missing in the regrouping.
        const QString basura = Aleatorio(azar, letras, 200);
        const QStringList partes = RegistrosDeTexto(basura);
        QCOMPARE(SinBlancos(partes.join(QString())), SinBlancos(basura));
        for (const QString& linea : partes) {
            const Particion p = PartirContacto(linea, SeparadorDeCabecera(partes[0]));
            if (p.campos)
                QVERIFY(linea.endsWith(p.campos->notas));
            else
                QVERIFY(p.campoSinSeparador >= 1 && p.campoSinSeparador <= 10);
        }
    }
}

QTEST_APPLESS_MAIN(TstTrasvoloCsv)
#include "tst_trasvolo_csv.moc"
