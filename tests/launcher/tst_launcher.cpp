#include "Archivos.h"
#include "Arte.h"
#include "Contorno.h"
#include "Etiqueta.h"
#include "FrmMain.h"
#include "FrmSelec.h"
#include "GestosBandeja.h"
#include "Grabadoras.h"
#include "IconoBandeja.h"
#include "Programas.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QStyleHints>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <thread>

using namespace launcher;

using prueba::Leer;

namespace {
QPoint Centro(QWidget* w) {
    return w->rect().center();
}

// An application folder with the host in it, a recording environment, and the bar.
struct Banco {
    QTemporaryDir dir;
    comun::EntornoGrabado e = comun::CrearEntornoGrabado(dir.path());
    QString ini = dir.filePath("Vemora.INI");
    QList<QStringList> localizadas; // key, name shown, per locator opened

    Banco() { prueba::Escribir(dir.filePath("Vemora.exe"), "x"); }
    std::unique_ptr<FrmMain> Barra(bool bandeja = false) {
        auto frm = std::make_unique<FrmMain>(e.entorno);
        e.escritorio->bandeja = bandeja;
        frm->lanzador.mostrarLocalizador = [this](FrmSelec& d) {
            localizadas.append({d.Fila().clave, d.LblNombrePrg->text()});
        };
        return frm;
    }
    void Ini(const QByteArray& texto) { prueba::Escribir(ini, texto); }
    QString Valor(const QString& seccion, const QString& clave) {
        return comun::LeerPerfil(ini, seccion, clave, "<falta>", 1000);
    }
};
} // namespace

class TstLauncher : public QObject {
    Q_OBJECT
private slots:
    void init() { prueba::FallarConAvisos(); }
    void contornoEnPuntos();
    void arranqueSinAjustesYCierre();
    void ajustesIlegiblesDanLosDeFabrica();
    void ocultoAlInicioSegunBandeja();
    void iconoDeBandejaTrasPintar();
    void gestosDelIconoAlSoltar();
    void gestosDeAreaSni();
    void iconosDibujadosAlPedirlos();
    void guardiaDeInicio();
    void leyendasAlPasarYApagado();
    void lanzamientos();
    void dobleClicLocalizaSoloHermanos();
    void localizadorEncuentraYGuarda();
    void localizadorCarpetasRaizYLargas();
    void localizadorUnidadIlegibleYCierre();
};

void TstLauncher::contornoEnPuntos() {
    // At 15 twips per pixel the points are the table's own.
    const auto p1 = PuntosContorno(1.0f, 1.0f, 0, 0);
    QCOMPARE(p1[0].size() + p1[1].size() + p1[2].size(), 27 + 20 + 6);
    QCOMPARE(p1[0][14], QPoint(324, 38));
    QCOMPARE(p1[1][6], QPoint(356, 12));
    QCOMPARE(p1[2][3], QPoint(304, 57));

    // At 12 twips per pixel every coordinate grows by 15/12; halves go to the even integer.
    const auto p12 = PuntosContorno(1.0f, 1.0f, 0, 0, 12.0f, 12.0f);
    QCOMPARE(p12[0][1], QPoint(404, 0));   // 403.75
    QCOMPARE(p12[0][3], QPoint(408, 1));   // 407.5 -> 408, 1.25
    QCOMPARE(p12[0][6], QPoint(412, 5));   // 412.5 -> 412
    QCOMPARE(p12[0][19], QPoint(2, 38));   // 2.5 -> 2, 37.5 -> 38
    QCOMPARE(p12[1][14], QPoint(432, 18)); // 432.5 -> 432, 17.5 -> 18
    QCOMPARE(p12[1][17], QPoint(432, 8));  // 7.5 -> 8
    QCOMPARE(p12[2][0], QPoint(42, 50));   // 42.5 -> 42
    // Offsets are added before rounding.
    QCOMPARE(PuntosContorno(1.0f, 1.0f, 5, -3)[2][0], QPoint(39, 37));

    // The region is the union of the three shapes and nothing between them.
    const QRegion r = CrearRegion(1.0f, 1.0f, 0, 0);
    for (QPoint dentro : {QPoint(100, 20), QPoint(350, 9), QPoint(100, 50)})
        QVERIFY(r.contains(dentro));
    // A rounded corner, between band and hide button, beside and under the strip.
    for (QPoint fuera : {QPoint(0, 0), QPoint(340, 20), QPoint(10, 50), QPoint(350, 40)})
        QVERIFY(!r.contains(fuera));
    const QRegion r12 = CrearRegion(1.0f, 1.0f, 0, 0, 12.0f, 12.0f);
    QVERIFY(r12.contains(QPoint(438, 12)) && r12.contains(QPoint(125, 65)));
    QVERIFY(!r12.contains(QPoint(425, 30)) && !r.contains(QPoint(125, 65)));
}

void TstLauncher::arranqueSinAjustesYCierre() {
    Banco b;
    auto frm = b.Barra();
    QVERIFY(frm->Cargar());
    QCOMPARE(frm->size(), QSize(366, 120));
    QCOMPARE(frm->pos(), QPoint(22, 43)); // 330 and 645 twips
    QVERIFY(frm->isVisible());
    QVERIFY(!frm->mnuOcultar->isChecked());
    QCOMPARE(frm->mask(), CrearRegion(1.0f, 1.0f, 0, 0));
    QVERIFY(frm->TmrApagar->isActive());
    // Pictures beside every item but the check mark and the two separators.
    const auto acciones = frm->mnuMenu->actions();
    QCOMPARE(acciones.size(), 14);
    for (int i = 0; i < acciones.size(); ++i)
        QCOMPARE(acciones[i]->icon().isNull(), i == 2 || i == 3 || i == 12);

    // The mark changes only the next start.
    frm->mnuOcultar->trigger();
    QVERIFY(frm->isVisible());
    // Dragged by the background (here the window system leaves the move to the bar).
    frm->move(90, 50);
    QTest::mousePress(frm.get(), Qt::LeftButton, {}, QPoint(79, 30));
    QTest::mouseMove(frm.get(), QPoint(89, 40));
    QTest::mouseRelease(frm.get(), Qt::LeftButton, {}, QPoint(89, 40));
    QCOMPARE(frm->pos(), QPoint(100, 60));
    QTest::mouseMove(frm.get(), QPoint(99, 50)); // no button held: no move
    QCOMPARE(frm->pos(), QPoint(100, 60));
    frm->mnuSalir->trigger();
    QCOMPARE(b.e.escritorio->terminados, 1);
    QCOMPARE(b.Valor("Posicion", "BrIzda"), QString("1500"));
    QCOMPARE(b.Valor("Posicion", "BrArriba"), QString("900"));
    // The start mode goes through the 100-character buffer.
    QVERIFY(Leer(b.ini).contains("Ocultar=1" + QByteArray(99, ' ') + "\r\n"));
    QVERIFY(b.e.shell->llamadas.isEmpty());
}

void TstLauncher::ajustesIlegiblesDanLosDeFabrica() {
    Banco b;
    b.Ini("[Posicion]\r\nBrIzda=abc\r\nBrArriba=99999\r\n[Brivolar]\r\nOcultar=si\r\n");
    auto frm = b.Barra(true);
    QVERIFY(frm->Cargar());
    QCOMPARE(frm->pos(), QPoint(22, 43));
    QVERIFY(!frm->mnuOcultar->isChecked());
    QVERIFY(frm->isVisible());
    frm->close();

    // A place off every screen comes back to the default; any non-zero number marks.
    Banco c;
    c.Ini("[Posicion]\r\nBrIzda=-30000\r\nBrArriba=20000\r\n[Brivolar]\r\nOcultar=2\r\n");
    auto otra = c.Barra(false);
    QVERIFY(otra->Cargar());
    QCOMPARE(otra->pos(), QPoint(22, 43));
    QVERIFY(otra->mnuOcultar->isChecked());
    otra->close();
    QCOMPARE(c.Valor("Brivolar", "Ocultar"), QString("1"));
}

void TstLauncher::ocultoAlInicioSegunBandeja() {
    {
        Banco b;
        b.Ini("[Brivolar]\r\nOcultar=1\r\n");
        auto frm = b.Barra(true);
        QVERIFY(frm->Cargar());
        QVERIFY(frm->Icono);
        QCOMPARE(frm->Icono->Tip(), QString("Brivolar programas"));
        QVERIFY(!frm->isVisible());
        frm->mnuMostrar->trigger();
        QVERIFY(frm->isVisible());
        QTest::mouseClick(frm->ImgMenu[8], Qt::LeftButton, {}, Centro(frm->ImgMenu[8]));
        QVERIFY(!frm->isVisible());
        QVERIFY(b.e.shell->llamadas.isEmpty());
        frm->mnuSalir->trigger(); // closing a hidden bar still saves
        QCOMPARE(b.e.escritorio->terminados, 1);
        QVERIFY(!frm->Icono);
        QCOMPARE(b.Valor("Posicion", "BrIzda"), QString("330"));
    }
    {
        // Without a notification area nothing could bring a hidden bar back.
        Banco b;
        b.Ini("[Brivolar]\r\nOcultar=1\r\n");
        auto frm = b.Barra(false);
        QVERIFY(frm->Cargar());
        QVERIFY(!frm->Icono);
        QVERIFY(frm->isVisible());
        QVERIFY(frm->mnuOcultar->isChecked());
        frm->Launch(8);
        QVERIFY(frm->isVisible());
    }
}

void TstLauncher::iconoDeBandejaTrasPintar() {
    // A shown bar gets its tray icon right after its first paint, on the event loop's
    // first turn; until then the hide button already counts on it.
    Banco b;
    auto frm = b.Barra(true);
    QVERIFY(frm->Cargar());
    QVERIFY(frm->isVisible() && !frm->Icono);
    frm->Launch(8);
    QVERIFY(!frm->isVisible());
    QTRY_VERIFY(frm->Icono);
    QVERIFY(frm->Icono->Visible());
    QCOMPARE(frm->Icono->Tip(), QString("Brivolar programas"));
    QVERIFY(frm->Icono->IconoXembed());
    QVERIFY(!frm->Icono->IconoXembed()->contextMenu()); // it would open while the button is down
    QCOMPARE(frm->Icono->Icono().cacheKey(), frm->windowIcon().cacheKey());
    comun::IconoBandeja* const icono = frm->Icono;
    frm->TerminarArranque(); // called again: still the one icon
    QCOMPARE(frm->Icono, icono);
    frm->mnuMostrar->trigger();
    QVERIFY(frm->isVisible());
    frm->mnuSalir->trigger();
    QVERIFY(!frm->Icono);

    // A bar closed before that turn gets no icon afterwards.
    Banco c;
    auto otra = c.Barra(true);
    QVERIFY(otra->Cargar());
    otra->mnuSalir->trigger();
    QCoreApplication::processEvents();
    otra->TerminarArranque();
    QVERIFY(!otra->Icono);
    QCOMPARE(c.e.escritorio->terminados, 1);
}

void TstLauncher::gestosDelIconoAlSoltar() {
    // Notification areas that report a click when its button goes down: the menu waits
    // for the release, and after a left one for the double-click time; a double click in
    // that time ends the bar and never opens the menu.
    Banco b;
    auto frm = b.Barra(true);
    QVERIFY(frm->Cargar());
    QWidget icono; // stands in for the icon's window, which holds the pointer
    icono.show();
    QVERIFY(QTest::qWaitForWindowExposed(&icono));
    QTimer* const espera = frm->Gestos->TmrDobleClic;

    QTest::mousePress(&icono, Qt::RightButton);
    frm->Gestos->Icono_Activated(QSystemTrayIcon::Context);
    QVERIFY(!frm->mnuMenu->isVisible());
    QTest::mouseRelease(&icono, Qt::RightButton);
    QVERIFY(frm->mnuMenu->isVisible() && !espera->isActive());
    frm->mnuMenu->hide();

    QTest::mousePress(&icono, Qt::LeftButton);
    frm->Gestos->Icono_Activated(QSystemTrayIcon::Trigger);
    QVERIFY(!espera->isActive());
    QTest::mouseRelease(&icono, Qt::LeftButton);
    QVERIFY(espera->isActive() && !frm->mnuMenu->isVisible());
    QCOMPARE(espera->interval(), QGuiApplication::styleHints()->mouseDoubleClickInterval());
    frm->Gestos->TmrDobleClic_Timer();
    QVERIFY(frm->mnuMenu->isVisible());
    frm->mnuMenu->hide();

    QTest::mousePress(&icono, Qt::LeftButton);
    frm->Gestos->Icono_Activated(QSystemTrayIcon::Trigger);
    QTest::mouseRelease(&icono, Qt::LeftButton);
    frm->Gestos->Icono_Activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(!espera->isActive() && !frm->mnuMenu->isVisible());
    QCOMPARE(b.e.escritorio->terminados, 1);
}

void TstLauncher::gestosDeAreaSni() {
    // StatusNotifierItem areas report finished clicks with their place and have no double
    // click: a right click opens the menu there at once, a left one after the
    // double-click time, and a second left click within that time ends the bar.
    Banco b;
    auto frm = b.Barra(true);
    QVERIFY(frm->Cargar());
    QList<QPoint> pedidos;
    connect(frm->Gestos, &comun::GestosBandeja::menuPedido, frm.get(),
            [&](const QPoint& donde, bool enPanel) {
                QVERIFY(enPanel);
                pedidos.append(donde);
            });
    QTimer* const espera = frm->Gestos->TmrDobleClic;

    frm->Gestos->ContextMenu(QPoint(300, 200));
    QCOMPARE(pedidos, QList<QPoint>{QPoint(300, 200)});
    QVERIFY(frm->mnuMenu->isVisible() && !espera->isActive());
    QCOMPARE(frm->mnuMenu->pos(), QPoint(300, 200));
    frm->Gestos->Activate(QPoint(310, 210)); // on the icon again: the menu closes
    QVERIFY(!frm->mnuMenu->isVisible() && !espera->isActive());
    QCOMPARE(pedidos.size(), 1);

    frm->Gestos->Activate(QPoint(310, 210));
    QVERIFY(espera->isActive() && pedidos.size() == 1);
    QCOMPARE(espera->interval(), QGuiApplication::styleHints()->mouseDoubleClickInterval());
    frm->Gestos->TmrDobleClic_Timer(); // the double-click time is over
    QCOMPARE(pedidos.last(), QPoint(310, 210));
    QVERIFY(frm->mnuMenu->isVisible());
    frm->mnuMenu->hide();

    frm->Gestos->Activate(QPoint(310, 210));
    frm->Gestos->Activate(QPoint(310, 210));
    QVERIFY(!espera->isActive() && !frm->mnuMenu->isVisible());
    QCOMPARE(pedidos.size(), 2);
    QCOMPARE(b.e.escritorio->terminados, 1);
}

void TstLauncher::iconosDibujadosAlPedirlos() {
    // Nothing is drawn until a picture is asked for, and then once for every copy.
    int hechos = 0;
    const QIcon contado = IconoDiferido([&hechos] {
        ++hechos;
        QPixmap p(4, 4);
        p.fill(Qt::red);
        return QIcon(p);
    });
    QAction accion;
    accion.setIcon(contado);
    QVERIFY(!contado.isNull() && !accion.icon().isNull());
    QCOMPARE(hechos, 0);
    QCOMPARE(accion.icon().pixmap(4, 4).toImage().pixelColor(1, 1), QColor(Qt::red));
    QCOMPARE(contado.availableSizes(), QList<QSize>{QSize(4, 4)});
    QCOMPARE(hechos, 1);

    // The pictures are those of the icon drawn at once, pixel for pixel, at 100 % and
    // 200 %, in every mode, at the menu's size and others, and painted as a menu paints.
    const QString svg = QStringLiteral(":/launcher/menu_05.svg");
    QIcon ahora;
    ahora.addPixmap(PixmapSvg(svg, QSize(13, 13), 1.0));
    ahora.addPixmap(PixmapSvg(svg, QSize(13, 13), 2.0));
    const QIcon diferido = IconoSvg(svg, QSize(13, 13));
    QCOMPARE(diferido.availableSizes(), ahora.availableSizes());
    for (int lado : {8, 13, 16, 32})
        QCOMPARE(diferido.actualSize(QSize(lado, lado)), ahora.actualSize(QSize(lado, lado)));
    for (qreal proporcion : {1.0, 2.0}) {
        for (auto modo : {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected}) {
            for (int lado : {8, 13, 16, 26, 40}) {
                const QPixmap a = ahora.pixmap(QSize(lado, lado), proporcion, modo);
                const QPixmap d = diferido.pixmap(QSize(lado, lado), proporcion, modo);
                QCOMPARE(d.devicePixelRatio(), a.devicePixelRatio());
                QCOMPARE(d.toImage(), a.toImage());
            }
        }
        QImage lienzoA(QSize(40, 40) * proporcion, QImage::Format_ARGB32_Premultiplied);
        lienzoA.setDevicePixelRatio(proporcion);
        lienzoA.fill(Qt::transparent);
        QImage lienzoD = lienzoA;
        {
            QPainter pintorA(&lienzoA), pintorD(&lienzoD);
            ahora.paint(&pintorA, QRect(3, 5, 16, 16));
            diferido.paint(&pintorD, QRect(3, 5, 16, 16));
        }
        QCOMPARE(lienzoD, lienzoA);
    }
    const QIcon programa =
        IconoSvgTamanos(QStringLiteral(":/launcher/icono.svg"), {QSize(16, 16), QSize(48, 48)});
    QCOMPARE(programa.availableSizes(), QList<QSize>({QSize(16, 16), QSize(48, 48)}));
    QCOMPARE(programa.pixmap(48, 48).toImage(),
             PixmapSvg(QStringLiteral(":/launcher/icono.svg"), QSize(48, 48), 1.0).toImage());
}

void TstLauncher::guardiaDeInicio() {
    Banco b;
    auto primera = b.Barra();
    QVERIFY(primera->Cargar());
    QVERIFY(!b.Barra()->Cargar()); // a second bar ends silently
    QVERIFY(b.e.dialogos->mensajes.isEmpty());

    QFile::remove(b.dir.filePath("Vemora.exe"));
    primera.reset();
    auto sinAnfitrion = b.Barra();
    QVERIFY(!sinAnfitrion->Cargar());
    QCOMPARE(b.e.dialogos->mensajes.size(), 1);
    QVERIFY(!sinAnfitrion->isVisible());
    QVERIFY(!QFile::exists(b.ini));
}

void TstLauncher::leyendasAlPasarYApagado() {
    Banco b;
    auto frm = b.Barra();
    QVERIFY(frm->Cargar());
    // The captions' size, measured on another thread at start-up, is the largest
    // that lets the longest caption end before the "?", for any desktop font.
    const int ancho = frm->LblAyuda->x() - frm->LblDetalles->x() - 3;
    for (int puntos : {6, 9, 14}) {
        QFont base = frm->font();
        base.setPointSize(puntos);
        int enHilo = 0;
        std::thread([&] { enHilo = TamanoLeyendas(base); }).join();
        QCOMPARE(TamanoLeyendas(base), enHilo);
        QFont letra = base;
        letra.setStretch(QFont::SemiCondensed);
        letra.setPixelSize(enHilo + 1);
        QVERIFY(enHilo == 11 ||
                QFontMetrics(letra).horizontalAdvance(FrmMain::kLeyendaInicial) > ancho);
        letra.setPixelSize(enHilo);
        QVERIFY(enHilo == 8 ||
                QFontMetrics(letra).horizontalAdvance(FrmMain::kLeyendaInicial) <= ancho);
    }
    QCOMPARE(frm->LblDetalles->font().pixelSize(), TamanoLeyendas(frm->font()));
    QVERIFY(frm->LblAyuda->font().bold());
    QCOMPARE(frm->LblAyuda->font().pixelSize(), frm->LblDetalles->font().pixelSize());
    const QStringList leyendas = {"Programa: NOCTAVO...",
                                  "Programa: POEMAREX...",
                                  "Programa: CUSTODEX...",
                                  "Programa: NUMERAX...",
                                  "Programa: APUNTEX...",
                                  "Programa: TEMPUX...",
                                  "Programa: RESGUAX...",
                                  "Programa: VEMORA...",
                                  "Ocultar esta barra de inicio rápido para los programas."};
    for (int i = 0; i < 9; ++i) {
        frm->TmrApagar->stop();
        QTest::mouseMove(frm->ImgMenu[i], Centro(frm->ImgMenu[i]));
        QCOMPARE(frm->LblDetalles->text(), leyendas[i]);
        for (int j = 0; j < 9; ++j)
            QCOMPARE(frm->ImgSel[j]->isVisible(), j == i);
        QVERIFY(frm->TmrApagar->isActive());
    }

    // "?" lights up cyan and underlined; the highlighted button stays as it is.
    QTest::mouseMove(frm->ImgMenu[2], Centro(frm->ImgMenu[2]));
    QTest::mouseMove(frm->LblAyuda, Centro(frm->LblAyuda));
    QCOMPARE(frm->LblDetalles->text(), QString("MOSTRAR AYUDA..."));
    QVERIFY(frm->LblAyuda->font().underline());
    QCOMPARE(frm->LblAyuda->palette().color(QPalette::WindowText), QColor(0, 255, 255));
    QVERIFY(frm->ImgSel[2]->isVisible());

    // The caption strip clears the button but leaves "?" lit.
    QTest::mouseMove(frm->LblDetalles, QPoint(5, 5));
    QCOMPARE(frm->LblDetalles->text(), FrmMain::kLeyendaInicial);
    QVERIFY(!frm->ImgSel[2]->isVisible());
    QVERIFY(frm->LblAyuda->font().underline());

    // The background puts "?" back to yellow.
    QTest::mouseMove(frm.get(), QPoint(79, 30)); // band, between buttons 1 and 2
    QVERIFY(!frm->LblAyuda->font().underline());
    QCOMPARE(frm->LblAyuda->palette().color(QPalette::WindowText), QColor(255, 255, 0));

    // The timer's tick clears what the pointer left behind and stops the timer.
    QTest::mouseMove(frm->ImgMenu[5], Centro(frm->ImgMenu[5]));
    frm->LblAyuda_MouseMove();
    QCOMPARE(frm->TmrApagar->interval(), 10000);
    frm->TmrApagar_Timer();
    QCOMPARE(frm->LblDetalles->text(), FrmMain::kLeyendaInicial);
    QVERIFY(!frm->ImgSel[5]->isVisible());
    QVERIFY(!frm->LblAyuda->font().underline());
    QVERIFY(!frm->TmrApagar->isActive());

    // Help: the page of the "Ayuda" folder while there is no Ayuda.chm.
    QTest::mouseClick(frm->LblAyuda, Qt::LeftButton, {}, Centro(frm->LblAyuda));
    QCOMPARE(b.e.shell->llamadas.size(), 1);
    QCOMPARE(b.e.shell->llamadas[0].archivo,
             frm->RutaPrograma + "Ayuda" + QDir::separator() + "Brivolar.htm");
}

void TstLauncher::lanzamientos() {
    Banco b;
    const QString noctavo = b.dir.filePath("prog/Noctavo/");
    prueba::Escribir(noctavo + "Noctavo.exe", "x");
    const QString tempux = b.dir.filePath("prog/Tempux/");
    prueba::Escribir(tempux + "TEMPUX.EXE", "x");
    // A stored folder of more than 99 characters comes back cut.
    const QString largo = "/" + QString(120, 'c') + "/";
    b.Ini(("[Brivolar]\r\nNoctavo=" + noctavo + "\r\nTempux=" + tempux + "\r\nApuntex=" + largo +
           "\r\nNumerax=No\r\n")
              .toUtf8());
    auto frm = b.Barra();
    QVERIFY(frm->Cargar());
    auto& llamadas = b.e.shell->llamadas;

    QTest::mouseClick(frm->ImgMenu[0], Qt::LeftButton, {}, Centro(frm->ImgMenu[0]));
    QCOMPARE(llamadas.size(), 1);
    QCOMPARE(llamadas[0].operacion, QString("open"));
    QCOMPARE(llamadas[0].archivo, noctavo + "Noctavo.exe");
    QVERIFY(llamadas[0].accion == comun::AccionShell::Iniciar);
    QVERIFY(llamadas[0].parametros.isEmpty());
    QCOMPARE(llamadas[0].directorio, QString(""));

    // A file named in other letter case is the same program on the desktop it came from.
    frm->Launch(5);
    QCOMPARE(llamadas.last().archivo, tempux + "TEMPUX.EXE");

    frm->Launch(4);
    QCOMPARE(llamadas.last().archivo, largo.left(99) + "Apuntex.exe");

    QTest::mouseClick(frm->ImgMenu[7], Qt::LeftButton, {}, Centro(frm->ImgMenu[7]));
    QCOMPARE(llamadas.last().archivo, frm->RutaPrograma + "Vemora.exe");
    QCOMPARE(llamadas.size(), 4);

    // Unlocated rows ("No" or no key) open the locator for that row and start nothing.
    b.e.shell->resultado = 2;
    QTest::mouseClick(frm->ImgMenu[3], Qt::LeftButton, {}, Centro(frm->ImgMenu[3]));
    frm->Launch(6);
    QCOMPARE(b.localizadas, (QList<QStringList>{{"Numerax", "NUMERAX"}, {"Resguax", "RESGUAX"}}));
    QCOMPARE(llamadas.size(), 4);

    // A failed start is kept, not reported.
    frm->Launch(0);
    QCOMPARE(frm->lanzador.ResultadoShell, 2);
    QVERIFY(b.e.dialogos->mensajes.isEmpty());
}

void TstLauncher::dobleClicLocalizaSoloHermanos() {
    Banco b;
    const QString noctavo = b.dir.filePath("prog/");
    prueba::Escribir(noctavo + "Noctavo.exe", "x");
    b.Ini(("[Brivolar]\r\nNoctavo=" + noctavo + "\r\n").toUtf8());
    auto frm = b.Barra(true);
    QVERIFY(frm->Cargar());
    // A located program starts with the first click and the locator opens on the second
    // (a double click is a click, then a press that the system reports as double).
    QTest::mouseClick(frm->ImgMenu[0], Qt::LeftButton, {}, Centro(frm->ImgMenu[0]));
    QTest::mouseDClick(frm->ImgMenu[0], Qt::LeftButton, {}, Centro(frm->ImgMenu[0]));
    QCOMPARE(b.e.shell->llamadas.size(), 1);
    QCOMPARE(b.localizadas, (QList<QStringList>{{"Noctavo", "NOCTAVO"}}));
    for (int i = 0; i < 9; ++i)
        frm->Locate(i);
    QCOMPARE(b.localizadas.size(), 8);
    QCOMPARE(b.localizadas.last(), (QStringList{"Resguax", "RESGUAX"}));
    QVERIFY(frm->isVisible());
}

void TstLauncher::localizadorEncuentraYGuarda() {
    Banco b;
    const QString raiz = b.dir.filePath("discos");
    prueba::Escribir(raiz + "/Programas/Noctavo/NOCTAVO.EXE", "x");
    prueba::Escribir(raiz + "/Programas/Otro/Poemarex.exe", "x");
    const QString antes = QDir::currentPath();
    // The program in the current folder is not announced until the folder changes.
    QDir::setCurrent(raiz + "/Programas/Noctavo");
    comun::ArchivoIni ini(b.ini);
    FrmSelec dlg(b.e.entorno, ini, TablaBarra()[0], kPaginaDescargas);
    QDir::setCurrent(antes);
    QCOMPARE(dlg.LblNombrePrg->text(), QString("NOCTAVO"));
    QCOMPARE(dlg.LblEstado->text(), QString("Busque el programa..."));
    QCOMPARE(static_cast<comun::Etiqueta*>(dlg.LblAyuda)->Caption(),
             QString("Si no tiene alguno de estos programas\rdescárguelos desde internet."));
    QVERIFY(dlg.CmdTerminar->isHidden());
    dlg.show();

    // One click on an entry enters that folder; the status follows the first match.
    auto clic = [&](const QString& ruta) {
        QListWidgetItem* entrada = dlg.DirCarpeta->Entrada(ruta);
        QVERIFY2(entrada, qPrintable(ruta));
        QTest::mouseClick(dlg.DirCarpeta->viewport(), Qt::LeftButton, {},
                          dlg.DirCarpeta->visualItemRect(entrada).center());
    };
    clic(raiz + "/Programas");
    QVERIFY(dlg.CmdTerminar->isHidden());
    clic(raiz + "/Programas/Otro");
    QCOMPARE(dlg.LblEstado->text(), QString("Busque el programa..."));
    dlg.DirCarpeta->PonerRuta(raiz + "/Programas");
    clic(raiz + "/Programas/Noctavo");
    QCOMPARE(dlg.LblEstado->text(), QString("PROGRAMA ENCONTRADO..."));
    QVERIFY(dlg.CmdTerminar->isVisible());

    // The download hint over the help picture, and its address.
    QTest::mouseMove(dlg.ImgAyuda, Centro(dlg.ImgAyuda));
    QVERIFY(dlg.LblAyuda->isVisible() && dlg.ImgMundo->isVisible());
    QVERIFY(!dlg.LblNombrePrg->isVisible());
    QTest::mouseMove(&dlg, QPoint(100, 250));
    QVERIFY(!dlg.LblAyuda->isVisible() && !dlg.ImgMundo->isVisible());
    QVERIFY(dlg.LblNombrePrg->isVisible());
    QTest::mouseClick(dlg.ImgAyuda, Qt::LeftButton, {}, Centro(dlg.ImgAyuda));
    QCOMPARE(b.e.shell->llamadas.size(), 1);
    QCOMPARE(b.e.shell->llamadas[0].archivo, kPaginaDescargas);
    QCOMPARE(b.e.shell->llamadas[0].operacion, QString());

    QTest::mouseClick(dlg.CmdTerminar, Qt::LeftButton);
    const QString carpeta = raiz + "/Programas/Noctavo/";
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(Leer(b.ini).contains(("Noctavo=" + carpeta.leftJustified(100, ' ') + "\r\n").toUtf8()));
    QCOMPARE(ini.LeerIni("Brivolar", "Noctavo", "No"), carpeta);
    QCOMPARE(b.e.shell->llamadas.size(), 2);
    QCOMPARE(b.e.shell->llamadas[1].operacion, QString("open"));
    QCOMPARE(b.e.shell->llamadas[1].archivo, carpeta + "NOCTAVO.EXE");
}

void TstLauncher::localizadorCarpetasRaizYLargas() {
    Banco b;
    comun::ArchivoIni ini(b.ini);
    {
        // A root already ends in the separator: stored with one, not two.
        FrmSelec dlg(b.e.entorno, ini, TablaBarra()[1], kPaginaDescargas);
        QVERIFY(dlg.DirCarpeta->PonerRuta(QDir::rootPath()));
        dlg.CmdTerminar_Click();
        QCOMPARE(ini.LeerIni("Brivolar", "Poemarex", "No"),
                 QDir::toNativeSeparators(QDir::rootPath()));
    }
    // The longest folder that survives the reading buffer is stored; one more is refused.
    const QString base = b.dir.filePath("l");
    const int resto = 99 - int(base.size()) - 2; // separators after "l" and at the end
    QVERIFY(resto > 0);
    const QString justa = base + "/" + QString(resto, 'j');
    const QString larga = base + "/" + QString(resto + 1, 'k');
    QVERIFY(QDir().mkpath(justa) && QDir().mkpath(larga));
    for (const QString& carpeta : {justa, larga}) {
        FrmSelec dlg(b.e.entorno, ini, TablaBarra()[2], kPaginaDescargas);
        QVERIFY(dlg.DirCarpeta->PonerRuta(carpeta));
        dlg.CmdTerminar_Click();
        if (carpeta == justa) {
            QCOMPARE(dlg.result(), int(QDialog::Accepted));
            QCOMPARE(ini.LeerIni("Brivolar", "Custodex", "No"), justa + "/");
        }
    }
    QCOMPARE(b.e.dialogos->mensajes.size(), 1);
    QCOMPARE(b.e.dialogos->mensajes[0].tipo, comun::TipoMensaje::Critico);
    QCOMPARE(b.e.dialogos->mensajes[0].titulo, FrmSelec::kTituloCarpetaLarga);
    QCOMPARE(ini.LeerIni("Brivolar", "Custodex", "No"), justa + "/");
    QCOMPARE(b.e.shell->llamadas.size(), 2);
}

void TstLauncher::localizadorUnidadIlegibleYCierre() {
    Banco b;
    comun::ArchivoIni ini(b.ini);
    FrmSelec dlg(b.e.entorno, ini, TablaBarra()[0], kPaginaDescargas);
    QVERIFY(dlg.Drive->count() >= 1);
    QVERIFY(dlg.DirCarpeta->PonerRuta(b.dir.path()));
    const QString unidad = dlg.Drive->currentText();
    QCOMPARE(dlg.UltimaUnidad, unidad);
    dlg.Drive->addItem("Z:", b.dir.filePath("sin-medio"));
    dlg.Drive->setCurrentIndex(dlg.Drive->count() - 1);
    QCOMPARE(b.e.dialogos->mensajes.size(), 1);
    QCOMPARE(b.e.dialogos->mensajes[0].titulo, QString("Error al Acceder a la unidad de disco"));
    QCOMPARE(b.e.dialogos->mensajes[0].texto, QString("La unidad de disco no está disponible"));
    QCOMPARE(dlg.Drive->currentText(), unidad);
    QCOMPARE(dlg.DirCarpeta->Ruta(), b.dir.path());

    // The close box stores nothing: the next click opens the locator again.
    QTimer::singleShot(0, &dlg, [&] { dlg.close(); });
    dlg.exec();
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QVERIFY(!QFile::exists(b.ini));
    auto frm = b.Barra();
    QVERIFY(frm->Cargar());
    frm->Launch(0);
    QCOMPARE(b.localizadas.size(), 1);
    QVERIFY(b.e.shell->llamadas.isEmpty());
}

QTEST_MAIN(TstLauncher)
#include "tst_launcher.moc"
