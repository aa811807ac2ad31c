# Shared by the harnesses that lay out a private desktop (con_xvfb.sh, con_sway.sh);
# sourced, never run on its own.

# The desktop's processes: each harness adds the ones it starts, and they are ended in
# the reverse order when it ends.
HIJOS=()
terminar_escritorio() {
  for ((i = ${#HIJOS[@]} - 1; i >= 0; i--)); do
    kill "${HIJOS[i]}" 2>/dev/null || true
    wait "${HIJOS[i]}" 2>/dev/null || true
  done
}

# esperar_escritorio WHAT SECONDS TEST...: runs TEST until it succeeds. When it never
# does, says what did not come up, with the end of the logs in REGISTROS_ESCRITORIO.
esperar_escritorio() {
  local que=$1 limite=$(( $(date +%s) + $2 ))
  shift 2
  until "$@" >/dev/null 2>&1; do
    [ "$(date +%s)" -lt "$limite" ] || {
      echo "$que did not become ready" >&2
      [ -z "${REGISTROS_ESCRITORIO:-}" ] || tail -n 20 $REGISTROS_ESCRITORIO >&2 || true
      exit 1
    }
    sleep 0.05
  done
}
