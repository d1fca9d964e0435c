# The steps of the two set-up commands, each shown in one line: its name, its
# progress and its time. What a step prints goes to a log under build/; when
# the step fails, that output is shown. Sourced by tools/run-installer and
# tools/run-tests.

# Builds and tests use every core unless told otherwise.
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$(nproc)}

# Reads a build's or a test run's output and prints 25%, 50%, 75% and 100%
# as it passes them (make's "[ 42%]", CTest's "12/340 Test").
zov_progress() {
  local next=25 line percent
  while IFS= read -r line; do
    if [[ $line =~ ^\[\ *([0-9]+)%\] ]]; then
      percent=${BASH_REMATCH[1]}
    elif [[ $line =~ ^\ *([0-9]+)/([0-9]+)\ Test ]]; then
      percent=$((BASH_REMATCH[1] * 100 / BASH_REMATCH[2]))
    else
      continue
    fi
    while ((percent >= next && next <= 100)); do
      printf ' %d%%' "$next"
      next=$((next + 25))
    done
  done
}

# zov_step NAME LOG COMMAND...: runs the command, its output in LOG.
zov_step() {
  local name=$1 log=$2 start=$SECONDS
  shift 2
  mkdir -p "$(dirname "$log")"
  printf '%s:' "$name"
  if "$@" 2>&1 | tee "$log" | zov_progress; then
    printf ' done in %d s\n' $((SECONDS - start))
    return 0
  fi
  printf ' FAILED (its output follows; all of it is in %s)\n' "$log"
  # Without the lines that only tell which file is being built or which test started.
  grep -v -E '^\[ *[0-9]+%\] (Building|Linking|Built target)|^ +Start +[0-9]+:|^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed' "$log"
  return 1
}

# zov_build NAME PRESET: configures and builds a preset.
zov_build() {
  cmake --preset "$2" >/dev/null || return 1
  zov_step "$1" "build/$2.log" cmake --build --preset "$2"
}
