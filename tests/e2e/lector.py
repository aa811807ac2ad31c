#!/usr/bin/python3
"""A screen reader's view of the programs and its hands, over AT-SPI.

    lector.py COMMAND PROGRAM ARGUMENT...

PROGRAM is the program's name on the accessibility bus (its executable's file name).
Each command waits, until its deadline, for the program and for what it looks for,
then ends with status 0, or with status 1 and the reason on standard error.

    botones PROGRAM NAME...      each NAME is a shown push button whose first action
                                 is "Press"
    pulsar PROGRAM NAME          presses the shown push button NAME
    texto PROGRAM NAME TEXT      the text of the box NAME comes to be TEXT
    foco PROGRAM NAME            the control NAME comes to have the keyboard focus
    mostrado PROGRAM NAME si|no  the control NAME is shown, or is not, now
"""
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402
import pyatspi  # noqa: E402

PLAZO = 20  # seconds


def fallo(motivo):
    print(f"lector: {motivo}", file=sys.stderr)
    sys.exit(1)


def esperar(que, prueba, plazo=PLAZO):
    """The first true result of `prueba`, tried until the deadline; `que` (a text, or a
    function that gives it) says what did not come to be."""
    limite = time.monotonic() + plazo
    while True:
        try:
            resultado = prueba()
        except GLib.Error:
            resultado = None  # an object went away while it was read: read again
        if resultado:
            return resultado
        if time.monotonic() > limite:
            fallo(que() if callable(que) else que)
        time.sleep(0.1)


def escritorio():
    desktop = pyatspi.Registry.getDesktop(0)
    # Every answer is asked of the program when it is needed: a state read twice must
    # not come from what the library remembers of the first reading.
    desktop.set_cache_mask(Atspi.Cache.NONE)
    return desktop


def aplicacion(programa):
    for app in escritorio():
        if app is not None and app.name == programa:
            return app
    return None


def recorrer(nodo):
    yield nodo
    for hijo in nodo:
        if hijo is not None:
            yield from recorrer(hijo)


def buscar(programa, nombre, rol=None):
    app = aplicacion(programa)
    if app is None:
        return None
    for nodo in recorrer(app):
        if nodo.name == nombre and (rol is None or nodo.getRole() == rol):
            return nodo
    return None


def mostrado(nodo):
    return nodo.getState().contains(pyatspi.STATE_SHOWING)


def primera_accion(nodo):
    try:
        acciones = nodo.queryAction()
    except NotImplementedError:
        return None
    return acciones.getName(0) if acciones.nActions > 0 else None


def boton(programa, nombre):
    """The shown push button NAME, once it offers "Press" first."""
    def hallado():
        nodo = buscar(programa, nombre, pyatspi.ROLE_PUSH_BUTTON)
        if nodo is not None and mostrado(nodo) and primera_accion(nodo) == "Press":
            return nodo
        return None
    return esperar(f'{programa}: no shown push button "{nombre}" that offers "Press" first',
                   hallado)


def control(programa, nombre):
    return esperar(f'{programa}: no control "{nombre}"', lambda: buscar(programa, nombre))


def botones(programa, *nombres):
    esperar(f"{programa} is not on the accessibility bus",
            lambda: (app := aplicacion(programa)) is not None and app.childCount > 0)
    for nombre in nombres:
        boton(programa, nombre)


def pulsar(programa, nombre):
    if not boton(programa, nombre).queryAction().doAction(0):
        fallo(f'{programa}: "{nombre}" refused its "Press"')


def texto(programa, nombre, esperado):
    caja = control(programa, nombre)
    leido = []

    def igual():
        leido[:] = [caja.queryText().getText(0, -1)]
        return leido[0] == esperado
    esperar(lambda: f'{programa}: "{nombre}" holds {leido!r}, not {esperado!r}', igual)


def foco(programa, nombre):
    nodo = control(programa, nombre)
    esperar(f'{programa}: "{nombre}" did not get the focus',
            lambda: nodo.getState().contains(pyatspi.STATE_FOCUSED))


def mostrado_ahora(programa, nombre, si_o_no):
    if mostrado(control(programa, nombre)) != (si_o_no == "si"):
        fallo(f'{programa}: "{nombre}" is {"not " if si_o_no == "si" else ""}shown')


ORDENES = {"botones": botones, "pulsar": pulsar, "texto": texto, "foco": foco,
           "mostrado": mostrado_ahora}

if __name__ == "__main__":
    if len(sys.argv) < 3 or sys.argv[1] not in ORDENES:
        fallo(__doc__)
    ORDENES[sys.argv[1]](*sys.argv[2:])
