# Set-up shared by the benchmark scripts, sourced first. Each one runs from
# the repository root and takes its build folder as first argument.
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build-bench}

# Installs from Debian the packages whose tool is missing. Each argument is
# TOOL=PACKAGE; TOOL is a command looked up on PATH, or an absolute path (a
# program or a folder the package brings).
install_missing() {
  local need=() pair tool
  for pair in "$@"; do
    tool=${pair%%=*}
    if [[ $tool == /* ]]; then
      [ -e "$tool" ] && continue
    else
      command -v "$tool" >/dev/null && continue
    fi
    need+=("${pair#*=}")
  done
  [ ${#need[@]} -gt 0 ] || return 0
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
}

# configure_bench BUILD_DIR FILE [CMAKE_OPTION...]: configures BUILD_DIR as a
# release build with the benchmark tools unless FILE (relative to it) is there.
configure_bench() {
  local build=$1 file=$2
  shift 2
  [ -e "$build/$file" ] && return 0
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMATRIM_BENCH=ON "$@" >/dev/null
}

# make_work_dir NAME: a fresh folder /tmp/NAME.XXXXXX in $work, removed on exit.
make_work_dir() {
  work=$(mktemp -d "/tmp/$1.XXXXXX")
  trap 'rm -rf "$work"' EXIT
}

# The windows want a private runtime folder when the session has none.
use_runtime_dir() {
  mkdir -m 700 "$work/runtime"
  export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$work/runtime}
}

# on_display WIDTHxHEIGHT COMMAND...: runs a window program under Xvfb with
# a screen of that size when xvfb-run is there, else on Qt's offscreen platform.
on_display() {
  local screen=$1
  shift
  if command -v xvfb-run >/dev/null; then
    xvfb-run -a -s "-screen 0 ${screen}x24" "$@"
  else
    QT_QPA_PLATFORM=offscreen "$@"
  fi
}
