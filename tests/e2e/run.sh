#!/usr/bin/env bash
# End-to-end tests: the real program in a real X session, driven with the
# keyboard and the mouse as a user would. Prints one line per scenario and
# "N passed, N failed" at the end.
#
# Usage: run.sh TAVELIN TAVELIN_DICT
TAVELIN=$(realpath "$1")
TAVELIN_DICT=$(realpath "$2")
E2E_DIR=$(cd "$(dirname "$0")" && pwd)
source "$E2E_DIR/lib.sh"

# Twips to pixels at the screen's 96 dots per inch.
px() { echo $(($1 / 15)); }
CLIENT_HEIGHT=$(px 6495)

# Clicks a control of the main window given its place in twips on the tab
# control (which stands 520 twips below the client area's top).
click_control() {
    local id=$1 left=$2 top=$3 width=$4 height=$5
    local height_now menu
    height_now=$(xwininfo -id "$id" | awk '/Height:/ {print $2}')
    menu=$((height_now - CLIENT_HEIGHT))
    click_in "$id" $(px $((left + width / 2))) $((menu + $(px $((520 + top + height / 2)))))
}

has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }

start_and_wait() {
    start_program
    wait_main_window 15 || fail "the main window did not appear"
    # Keys go where the focus is: wait until the window manager gave it to the dictionary.
    wait_for 5 has_focus "$(main_window)" || fail "the main window did not get the focus"
}

# 1. The splash shows while the lists fill, then the main window, above others.
scenario_start() {
    # A larger dictionary keeps the splash up long enough to be seen.
    awk 'BEGIN { for (i = 0; i < 150000; i++) printf "w%07d\tբառ\n", i }' >"$WORK/big.tsv"
    rm "$PROGRAM_DIR/EA.tvl"
    "$TAVELIN_DICT" import "$PROGRAM_DIR/EA.tvl" "$WORK/big.tsv" >/dev/null
    start_program
    wait_for 10 sh -c "xdotool search --onlyvisible --name '^Form1$' | grep -q ." ||
        fail "no splash appeared"
    shot splash
    wait_main_window 20 || fail "the main window did not appear"
    local id
    id=$(main_window)
    is_above "$id" || fail "the main window is not above other windows"
    [ -z "$(window_by_title '^Form1$')" ] || fail "the splash is still there"
    xdotool getwindowname "$id" | grep -qx ' Tavelin (Eng - Arm) ' || fail "caption"
}

# 2. A second copy is refused with a message box; the first keeps running.
scenario_second_copy() {
    start_and_wait
    local first=$APP_PID
    "$PROGRAM_DIR/tavelin" >"$WORK/second.out" 2>"$WORK/second.err" &
    local second=$!
    echo "$second" >>"$PID_FILE"
    wait_for 10 sh -c "xdotool search --onlyvisible --name '^Tavelin$' | grep -q ." ||
        fail "no message box"
    shot second-copy
    grep -q 'Tavelin Already Running!' "$WORK/second.err" || fail "message: $(cat "$WORK/second.err")"
    xdotool windowactivate --sync "$(window_by_title '^Tavelin$')" key Return
    wait_for 5 sh -c "! kill -0 $second" || fail "the second copy did not end"
    kill -0 "$first" || fail "the first copy ended"
}

# 3. A missing RA.tvl is reported by name; nothing appears, nothing is made.
scenario_missing_dictionary() {
    rm "$PROGRAM_DIR/RA.tvl"
    local before
    before=$(ls "$PROGRAM_DIR")
    start_program
    wait_for 10 sh -c "xdotool search --onlyvisible --name '^Tavelin$' | grep -q ." ||
        fail "no message box"
    grep -q 'RA.tvl' "$WORK/stderr" || fail "the message does not name RA.tvl"
    [ -z "$(main_window)" ] || fail "the main window appeared"
    xdotool windowactivate --sync "$(window_by_title '^Tavelin$')" key Return
    wait_for 5 sh -c "! kill -0 $APP_PID" || fail "the program did not end"
    wait "$APP_PID"
    local status=$?
    [ "$status" -ne 0 ] || fail "exit status 0"
    [ "$(ls "$PROGRAM_DIR")" = "$before" ] || fail "files changed: $(ls "$PROGRAM_DIR")"
}

# 4. Typing a prefix and copying the pair, on both pages.
scenario_look_up() {
    start_and_wait
    local id
    id=$(main_window)
    click_control "$id" 75 840 2460 435 # Text1
    type_text "wat"
    shot english-typed
    click_control "$id" 2040 5055 495 400 # Command1
    wait_for 2 sh -c '[ "$(xclip -o -selection clipboard)" = water ]' ||
        fail "clipboard: $(clipboard)"
    click_control "$id" 5880 5055 495 400 # Command2
    wait_for 2 sh -c '[ "$(xclip -o -selection clipboard)" = ջուր ]' ||
        fail "clipboard: $(clipboard)"
    shot main-english
    xdotool key ctrl+Tab
    wait_for 2 sh -c "xdotool getwindowname $id | grep -qx ' Tavelin (Rus - Arm) '" ||
        fail "no page switch"
    click_control "$id" 75 840 2460 435 # Text5
    type_text "хл"
    click_control "$id" 2040 5055 495 400 # Command3
    wait_for 2 sh -c '[ "$(xclip -o -selection clipboard)" = хлеб ]' ||
        fail "clipboard: $(clipboard)"
    click_control "$id" 5880 5055 495 400 # Command4
    wait_for 2 sh -c '[ "$(xclip -o -selection clipboard)" = հաց ]' ||
        fail "clipboard: $(clipboard)"
    shot main-russian
}

# 5. Armenian to English.
scenario_armenian_direction() {
    start_and_wait
    local id
    id=$(main_window)
    click_control "$id" 2620 840 3735 435 # Text2
    type_text "Երև"
    shot armenian-typed
    click_control "$id" 2040 5055 495 400
    wait_for 2 sh -c '[ "$(xclip -o -selection clipboard)" = Yerevan ]' ||
        fail "clipboard: $(clipboard)"
    click_control "$id" 5880 5055 495 400
    wait_for 2 sh -c '[ "$(xclip -o -selection clipboard)" = Երևան ]' ||
        fail "clipboard: $(clipboard)"
}

start_x_session
for name in start second_copy missing_dictionary look_up armenian_direction; do
    make_program_dir
    scenario "$name" "scenario_$name"
done
echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
