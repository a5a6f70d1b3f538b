# Sourced: whether this machine runs 32-bit programs. Some x86-64 kernels refuse i386 programs
# outright; there Debian's i386 Wine loader cannot start, and only wine64 works.
# Asked once per session: the answer is exported in QUARN_RUNS_32BIT for every child.
# QUARN_NO_32BIT=1 answers no on any machine, so that path can be tried anywhere.
quarn_i386_loader=/usr/lib/wine/wine
quarn_wine64_loader=/usr/lib/wine/wine64

quarn_runs_32bit() {
  if [ -z "${QUARN_RUNS_32BIT:-}" ]; then
    if [ "${QUARN_NO_32BIT:-0}" = 1 ]; then
      QUARN_RUNS_32BIT=no QUARN_32BIT_WHY="QUARN_NO_32BIT=1 is set"
    elif [ ! -x "$quarn_i386_loader" ]; then
      QUARN_RUNS_32BIT=no QUARN_32BIT_WHY="the 32-bit Wine (wine32:i386) is not installed"
    else
      "$quarn_i386_loader" --version >/dev/null 2>&1
      case $? in
        0) QUARN_RUNS_32BIT=yes QUARN_32BIT_WHY="this machine runs 32-bit programs" ;;
        # The shell's answer to "Exec format error": the kernel has no i386 support.
        126) QUARN_RUNS_32BIT=no QUARN_32BIT_WHY="the kernel refuses 32-bit programs" ;;
        *) QUARN_RUNS_32BIT=no QUARN_32BIT_WHY="the 32-bit Wine is installed but does not start" ;;
      esac
    fi
    export QUARN_RUNS_32BIT QUARN_32BIT_WHY
  fi
  [ "$QUARN_RUNS_32BIT" = yes ]
}

# Why the answer is what it is, for the one line make test and make demo print.
quarn_bits_reason() {
  quarn_runs_32bit
  echo "${QUARN_32BIT_WHY:-this machine runs no 32-bit code}"
}

# Windows suites of different checkouts share the machine's port 8080: one runs at a time.
# Usage: quarn_one_suite_at_a_time COMMAND [ARGS...]  (the command does not inherit the lock)
quarn_suite_lock=/tmp/quarn-windows-tests.lock
quarn_one_suite_at_a_time() {
  if ! flock -n "$quarn_suite_lock" true; then
    echo "waiting for the Windows tests of another checkout to end (they share port 8080)"
  fi
  flock -o "$quarn_suite_lock" "$@"
}
