# The harness of the end-to-end tests: a real X server with a window manager
# and a notification-area host, a program directory of its own, and helpers
# that look only at what a user or the system can see.
#
# Sourced by run.sh; expects TAVELIN and TAVELIN_DICT (built programs) and
# E2E_DIR (this folder).

set -u
export LC_ALL=C.UTF-8

WORK=$(mktemp -d /tmp/tavelin-e2e-XXXXXX)
# Every background process is recorded here and ended by the cleanup, also
# those started inside a scenario's subshell.
PID_FILE=$WORK/pids
SHOTS=${SHOTS:-$(dirname "$TAVELIN")/e2e-shots}
mkdir -p "$SHOTS"
PASSED=0
FAILED=0

cleanup() {
    local pids
    pids=$(tac "$PID_FILE" 2>/dev/null)
    [ -n "$pids" ] && kill $pids 2>/dev/null
    sleep 0.1
    [ -n "$pids" ] && kill -9 $pids 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

# Runs a command in the background and records its process for the cleanup.
background() {
    "$@" &
    echo $! >>"$PID_FILE"
}

# Polls a command every 20 ms until it succeeds or the limit (seconds) passes.
wait_for() {
    local limit=$1
    shift
    local end
    end=$(($(date +%s%N) / 1000000 + $(awk "BEGIN{print int($limit*1000)}")))
    while :; do
        "$@" >/dev/null 2>&1 && return 0
        (($(date +%s%N) / 1000000 > end)) && return 1
        sleep 0.02
    done
}

start_x_session() {
    export XDG_RUNTIME_DIR=$WORK/runtime
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    export HOME=$WORK/home
    # The copies of word lists the program keeps go to this home too.
    export XDG_CACHE_HOME=$HOME/.cache
    mkdir -p "$HOME"
    exec 3> "$WORK/display"
    background Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1280x800x24
    exec 3>&-
    wait_for 10 test -s "$WORK/display" || { echo "Xvfb did not start"; exit 1; }
    export DISPLAY=:$(head -1 "$WORK/display")
    wait_for 10 xdpyinfo || { echo "no X display"; exit 1; }

    background openbox --sm-disable
    wait_for 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
        { echo "openbox did not start"; exit 1; }
    background trayer --edge top --align right --widthtype pixel --width 200 --height 32 \
        --SetDockType true --transparent false
    wait_for 10 sh -c 'xdotool search --classname trayer' ||
        { echo "trayer did not start"; exit 1; }
}

# Characters outside the keyboard's layout get keys of their own before they
# are typed, and keep them: letting xdotool remap a key for each character
# races with the program reading the new keyboard map.
declare -A KEY_OF
KEY_POOL=()
prepare_keys() {
    local text=$1 ch code i
    if [ ${#KEY_POOL[@]} -eq 0 ]; then
        # Unused keys first, then the multimedia keys no test presses.
        KEY_POOL=($(xmodmap -pke | awk 'NF <= 3 && $2 >= 9 {print $2}') $(seq 255 -1 160))
    fi
    for ((i = 0; i < ${#text}; i++)); do
        ch=${text:i:1}
        code=$(printf '%X' "'$ch")
        ((0x$code < 128)) && continue
        [ -n "${KEY_OF[$code]:-}" ] && continue
        KEY_OF[$code]=${KEY_POOL[0]}
        KEY_POOL=("${KEY_POOL[@]:1}")
        xmodmap -e "keycode ${KEY_OF[$code]} = U$code U$code"
    done
}

type_text() {
    prepare_keys "$1"
    xdotool type --delay 30 "$1"
}

# A fresh program directory: the program and dictionaries made from word lists.
PROGRAM_DIR=
make_program_dir() {
    PROGRAM_DIR=$(mktemp -d "$WORK/program-XXXX")
    cp "$TAVELIN" "$PROGRAM_DIR/tavelin"
    "$TAVELIN_DICT" import "$PROGRAM_DIR/EA.tvl" "$E2E_DIR/words-en.tsv" >/dev/null
    "$TAVELIN_DICT" import "$PROGRAM_DIR/RA.tvl" "$E2E_DIR/words-ru.tsv" >/dev/null
}

APP_PID=
start_program() {
    "$PROGRAM_DIR/tavelin" >"$WORK/stdout" 2>"$WORK/stderr" &
    APP_PID=$!
    echo "$APP_PID" >>"$PID_FILE"
}

# Ends every copy of the program a scenario left running.
stop_program() {
    pkill -f "^$WORK/program-[^ ]*/tavelin" 2>/dev/null
    wait_for 5 sh -c "! pgrep -f '^$WORK/program-[^ ]*/tavelin'" ||
        pkill -9 -f "^$WORK/program-[^ ]*/tavelin"
}

# The id of the visible window whose title matches the regular expression.
window_by_title() {
    xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1
}

main_window() { window_by_title '^ Tavelin \((Eng|Rus) - Arm\) $'; }

is_mapped() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }

main_window_shown() {
    local id
    id=$(main_window)
    [ -n "$id" ] && is_mapped "$id"
}

wait_main_window() { wait_for "${1:-10}" main_window_shown; }

is_above() { xprop -id "$1" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_ABOVE; }

clipboard() { xclip -o -selection clipboard 2>/dev/null; }

# Clicks at a point given relative to a window.
click_in() {
    local id=$1 x=$2 y=$3
    xdotool mousemove --window "$id" "$x" "$y" click 1
}

shot() { import -window root "$SHOTS/$1.png" 2>/dev/null; }

# Runs one scenario function in a subshell and reports it on one line.
scenario() {
    local name=$1
    shift
    if ("$@") >"$WORK/scenario.log" 2>&1; then
        echo "ok     $name"
        PASSED=$((PASSED + 1))
    else
        echo "FAILED $name"
        sed 's/^/       /' "$WORK/scenario.log"
        FAILED=$((FAILED + 1))
    fi
    stop_program
}

# Ends the scenario with a reason.
fail() {
    echo "$*"
    exit 1
}
