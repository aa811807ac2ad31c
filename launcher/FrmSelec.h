#pragma once

// The program locator: the user browses drives and folders until the shown folder
// holds the program's executable, then "&Terminar" stores that folder under the
// row's key and starts the program. Used by the bar and by the updater, each with
// its own row and help address.

#include "Entorno.h"
#include "Ini.h"
#include "Programas.h"

#include <QDialog>
#include <QListWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QSvgRenderer;

namespace launcher {

class ImagenSvg;

// A mounted file system as the system reports it.
struct Montaje {
    QString raiz;           // where it is mounted
    QByteArray dispositivo; // what is mounted there
    QByteArray tipo;        // its file system type
    QString etiqueta;       // its volume label, when it has one
};

// A place of the drive list: a folder and the name the user knows it by.
struct Lugar {
    QString ruta;
    QString nombre;
};

// The places a user knows among the mounted file systems: the root, the home folder,
// and the file systems of disks, removable media and network shares, not the system's
// own (memory, process and control file systems, packaged images, boot and system
// folders, container files). Each is named by its volume label, else by its folder;
// two alike are told apart by their folders. The root first, the home folder next,
// then by name.
QList<Lugar> LugaresConocidos(const QList<Montaje>& montajes, const QString& carpetaPersonal);

// The folder list: the current folder's ancestors, itself and its subfolders; one
// click on an entry makes it the current folder.
class ListaCarpetas : public QListWidget {
    Q_OBJECT
public:
    explicit ListaCarpetas(QWidget* padre = nullptr);
    const QString& Ruta() const { return ruta_; }
    // False (and nothing changes) when the folder cannot be read.
    bool PonerRuta(const QString& ruta);
    // The item that stands for a folder, or nullptr.
    QListWidgetItem* Entrada(const QString& ruta) const;

signals:
    void rutaCambiada(const QString& ruta);

private:
    void Llenar();
    QString ruta_;
};

// The hidden file list: the files of a folder that match a pattern, without regard
// to letter case, sorted by name.
class ListaArchivos : public QListWidget {
    Q_OBJECT
public:
    explicit ListaArchivos(QWidget* padre = nullptr) : QListWidget(padre) {}
    void PonerPatron(const QString& patron) { patron_ = patron; }
    const QString& Patron() const { return patron_; }
    void PonerRuta(const QString& ruta);
    const QString& Ruta() const { return ruta_; }
    QString Primero() const { return count() > 0 ? item(0)->text() : QString(); }

signals:
    void rutaCambiada();

private:
    QString patron_;
    QString ruta_;
};

class FrmSelec : public QDialog {
    Q_OBJECT
public:
    FrmSelec(const comun::Entorno& entorno, comun::ArchivoIni& ini, FilaPrograma fila,
             QString direccionAyuda, QWidget* padre = nullptr);

    const FilaPrograma& Fila() const { return fila_; }
    const QString& DireccionAyuda() const { return direccionAyuda_; }

    QComboBox* Drive;
    ListaCarpetas* DirCarpeta;
    ListaArchivos* File;
    QLabel* LblNombrePrg;
    QLabel* LblEstado;
    QLabel* LblAyuda;
    ImagenSvg* ImgAyuda;
    ImagenSvg* ImgMundo;
    QPushButton* CmdTerminar;

    // The last drive that could be read, as the drive list shows it.
    QString UltimaUnidad;
    // The shell's result of the last start: kept, never reported.
    qint64 ResultadoShell = 0;

    void Drive_Change();
    void CmdTerminar_Click();
    void ImgAyuda_Click();

    static const QString kTitulo;
    static const QString kTituloCarpetaLarga;
    static const QString kTextoCarpetaLarga;
    static const QString kTituloSinGuardar;
    static const QString kTextoSinGuardar;

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void showEvent(QShowEvent*) override;

private:
    void LlenarUnidades();
    void ComprobarPrograma();
    void MostrarPista(bool visible);

    comun::Entorno entorno_;
    comun::ArchivoIni& ini_;
    FilaPrograma fila_;
    QString direccionAyuda_;
    int indiceUnidad_ = -1;
    QSvgRenderer* fondo_ = nullptr;
};

} // namespace launcher
