# Sourced: whether this machine runs 32-bit programs. Some x86-64 kernels refuse i386 programs
# outright; there Debian's i386 Wine loader cannot start, and only wine64 works.
# Asked once per session: the answer is exported in QUARN_RUNS_32BIT for every child.
# QUARN_NO_32BIT=1 answers no on any machine, so that path can be tried anywhere.
quarn_i386_loader=/usr/lib/wine/wine
quarn_wine64_loader=/usr/lib/wine/wine64

quarn_runs_32bit() {
  if [ -z "${QUARN_RUNS_32BIT:-}" ]; then
    if [ "${QUARN_NO_32BIT:-0}" = 1 ]; then
      QUARN_RUNS_32BIT=no
    elif "$quarn_i386_loader" --version >/dev/null 2>&1; then
      QUARN_RUNS_32BIT=yes
    else
      QUARN_RUNS_32BIT=no
    fi
    export QUARN_RUNS_32BIT
  fi
  [ "$QUARN_RUNS_32BIT" = yes ]
}

# Why the answer is what it is, for the one line make test and make demo print.
quarn_bits_reason() {
  if quarn_runs_32bit; then echo "this machine runs 32-bit programs"
  elif [ "${QUARN_NO_32BIT:-0}" = 1 ]; then echo "QUARN_NO_32BIT=1 is set"
  else echo "this machine runs no 32-bit code"
  fi
}
