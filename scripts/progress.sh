# shellcheck shell=bash
# Progress for the set-up scripts; sourced, not run.
#
# Every script says which stage it is in, keeps the full output of the tools
# in one log file, and ends with one summary line naming the log. A failure
# names the stage and the log and shows the log's last lines. QUIET=1 keeps
# the progress and the summary back; results and failures still show.
#
# A script started by another one (build.sh by test.sh, setup.sh by
# build.sh) writes to its parent's log and leaves the summary to it.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
quiet=${QUIET:-0}
[ "$quiet" = 0 ] || quiet=1
tty=0
[ -t 1 ] && [ "$quiet" = 0 ] && tty=1

if [ -n "${QUISK_PROGRESS_LOG:-}" ]; then
  log=$QUISK_PROGRESS_LOG
  nested=1
else
  mkdir -p "$root/build/logs"
  log=$root/build/logs/$(basename "$0" .sh).log
  : > "$log"
  export QUISK_PROGRESS_LOG=$log
  export QUISK_PROGRESS_START=$SECONDS
  nested=0
fi
log_shown=$log
[ "$PWD" = "$root" ] && log_shown=${log#"$root"/}
current_stage=""

say() {
  [ "$quiet" = 1 ] || printf '%s\n' "$*"
}

# A stage heading, also written into the log so that it can be found there.
stage() {
  current_stage=$1
  say "==> $1"
  printf '\n==> %s\n' "$1" >> "$log"
}

# Minutes and seconds since the outermost script started.
elapsed() {
  local s=$((SECONDS - ${QUISK_PROGRESS_START:-0}))
  if [ "$s" -ge 60 ]; then
    printf '%dm %02ds' $((s / 60)) $((s % 60))
  else
    printf '%ds' "$s"
  fi
}

# Stops the script: the stage that failed, why, the log's last lines (25
# unless the second argument says otherwise) and where the log is.
fail() {
  local lines=${2:-25}
  {
    [ "$tty" = 1 ] && printf '\r\033[K'
    printf 'error: %s failed%s\n' "$current_stage" "${1:+: $1}"
    if [ "$lines" -gt 0 ]; then
      printf '%s\n' "---- last lines of $log_shown ----"
      tail -n "$lines" "$log"
    fi
    printf '%s\n' "---- the full log is $log_shown ----"
  } >&2
  exit 1
}

# Runs a command with its output going to the log only.
logged() {
  printf '$ %s\n' "$*" >> "$log"
  "$@" >> "$log" 2>&1
}

# awk for filtering a tool's output as it comes: mawk, Debian's default,
# reads a pipe in large blocks unless told to read line by line.
live_awk() {
  if awk -W version 2>/dev/null | grep -q mawk; then
    awk -W interactive "$@"
  else
    awk "$@"
  fi
}

# The closing line of the outermost script: what was done, how long it took,
# the command to try next and the log.
summary() {
  [ "$nested" = 1 ] || say "Done: $1 in $(elapsed). Next: $2   (full log: $log_shown)"
}
