# Looking up the text selected in another program with a global key
# (Ctrl+F9 unless Options.ini names another). Sourced by run.sh.

# Makes a text another program's selection ("primary", the one a mouse
# selects, or "clipboard"): xclip holds it until another program takes it.
# Its process is left in SELECTION_PID.
SELECTION_PID=
select_text() {
    local text=$1 selection=${2:-primary}
    printf '%s' "$text" | xclip -quiet -selection "$selection" 2>/dev/null &
    SELECTION_PID=$!
    echo "$SELECTION_PID" >>"$PID_FILE"
    wait_for 5 selection_is "$selection" "$text" || fail "xclip did not take the $selection selection"
}

selection_is() { [ "$(xclip -o -selection "$1" 2>/dev/null)" = "$2" ]; }

clipboard_is_not() { [ "$(clipboard)" != "$1" ]; }

# The pair on show, read through the copy buttons of the page in view
# (both pages have theirs in the same places): "source|Armenian".
shown_pair() {
    local id=$1 source armenian
    armenian=$(clipboard)
    click_control "$id" 5880 5055 495 400 # Command2 or Command4
    wait_for 1 clipboard_is_not "$armenian"
    armenian=$(clipboard)
    click_control "$id" 2040 5055 495 400 # Command1 or Command3
    wait_for 1 clipboard_is_not "$armenian"
    source=$(clipboard)
    echo "$source|$armenian"
}

# Waits until the pair on show is the one expected.
expect_pair() {
    local id=$1 want=$2 why=$3 got
    for _ in 1 2 3 4 5; do
        got=$(shown_pair "$id")
        [ "$got" = "$want" ] && return 0
        sleep 0.2
    done
    fail "$why: the dictionary shows \"$got\", not \"$want\""
}

caption_is() { xdotool getwindowname "$1" | grep -qx " Tavelin ($2 - Arm) "; }

# Gives the keyboard to another program's window and presses a key there.
press_elsewhere() {
    local other=$1 keys=$2
    xdotool windowactivate --sync "$other" 2>/dev/null
    wait_for 2 has_focus "$other" || fail "the other program did not get the focus"
    xdotool key "$keys"
}

# The same, and waits for the dictionary to take the keyboard: it has then
# read the selection (the copy buttons are not clicked before).
look_up_from() {
    press_elsewhere "$1" "$2"
    wait_for 5 dictionary_has_focus || fail "$2: the dictionary did not come to the front"
}

dictionary_has_focus() {
    local id
    id=$(main_window)
    [ -n "$id" ] && has_focus "$id"
}

# A word selected in another program is looked up on the page of its
# script, with the window on show, hidden in the notification area, and with
# nothing selected (the clipboard's text then); the Tools menu switches the
# key off and on.
scenario_selection_look_up() {
    start_and_wait
    local id other
    id=$(main_window)
    xmessage -geometry +700+400 "another program" &
    echo $! >>"$PID_FILE"
    other=$(wait_window xmessage) || fail "no other window"

    # A Latin word with blanks, punctuation and a second line.
    select_text $'  Water,\nthe second line'
    look_up_from "$other" ctrl+F9
    shot selection-english
    expect_pair "$id" "water|ջուր" "Latin"

    # Cyrillic goes to the Russian page, Armenian to the page in view.
    select_text "дом"
    look_up_from "$other" ctrl+F9
    wait_for 3 caption_is "$id" Rus || fail "Cyrillic did not turn to the Russian page"
    shot selection-russian
    expect_pair "$id" "дом|տուն" "Cyrillic"
    select_text "հաց"
    look_up_from "$other" ctrl+F9
    expect_pair "$id" "хлеб|հաց" "Armenian on the Russian page"
    caption_is "$id" Rus || fail "Armenian turned the page"

    # Hidden in the notification area: the key brings the window back.
    xdotool key ctrl+F7
    wait_for 5 sh -c "! xwininfo -id $id | grep -q IsViewable" || fail "Ctrl+F7 did not hide"
    select_text "cat"
    look_up_from "$other" ctrl+F9
    wait_main_window 5 || fail "the key did not bring the hidden window back"
    caption_is "$id" Eng || fail "Latin did not turn to the English page"
    shot selection-from-tray
    expect_pair "$id" "cat|կատու" "from the notification area"

    # Nothing selected: the clipboard's text.
    kill "$SELECTION_PID"
    wait_for 2 sh -c '[ -z "$(xclip -o -selection primary 2>/dev/null)" ]' ||
        fail "the primary selection is still held"
    select_text "dog" clipboard
    look_up_from "$other" ctrl+F9
    expect_pair "$id" "dog|շուն" "the clipboard"

    # Switched off in the Tools menu the key is given up; on again, it works.
    xdotool windowactivate --sync "$id" 2>/dev/null
    xdotool key alt+t s
    wait_for 2 grep -q '^SelectionLookUp=False' "$PROGRAM_DIR/Options.ini" ||
        fail "the switch was not written"
    select_text "apple"
    press_elsewhere "$other" ctrl+F9 # the other program has it now
    sleep 0.5
    expect_pair "$id" "dog|շուն" "switched off"
    xdotool windowactivate --sync "$id" 2>/dev/null
    xdotool key alt+t s
    wait_for 2 grep -q '^SelectionLookUp=True' "$PROGRAM_DIR/Options.ini" ||
        fail "the switch was not written back"
    look_up_from "$other" ctrl+F9
    expect_pair "$id" "apple|խնձոր" "switched on again"
    kill -0 "$APP_PID" || fail "the program ended"
}

# Ctrl+F9 held by another program is said on standard error and in the help
# window, and the dictionary goes on; Options.ini can name another key.
scenario_selection_key_held() {
    local mine=$PROGRAM_DIR holder
    # The other program: a second dictionary, with a runtime folder of its own
    # so that the first does not count as running. It takes Ctrl+F7, Ctrl+F8
    # and Ctrl+F9 first, then goes to its icon.
    make_program_dir
    holder=$PROGRAM_DIR
    PROGRAM_DIR=$mine
    mkdir -m 700 "$WORK/runtime-holder"
    XDG_RUNTIME_DIR=$WORK/runtime-holder "$holder/tavelin" >"$WORK/holder.log" 2>&1 &
    echo $! >>"$PID_FILE"
    wait_main_window 15 || fail "the other program's window did not appear"
    wait_for 5 has_focus "$(main_window)" || fail "the other program did not get the focus"
    xdotool key ctrl+F7
    wait_for 5 sh -c '[ -z "$(xdotool search --onlyvisible --name "^ Tavelin")" ]' ||
        fail "the other program did not go to its icon"

    start_and_wait
    local id
    id=$(main_window)
    wait_for 5 grep -q 'Ctrl+F9 is held by another program' "$WORK/stderr" ||
        fail "not said on standard error: $(cat "$WORK/stderr")"
    type_text "wat"
    expect_pair "$id" "water|ջուր" "typing with the key held elsewhere"
    xdotool windowactivate --sync "$id" 2>/dev/null
    xdotool key F1
    local help
    help=$(wait_window 'Tavelin Help') || fail "no help window"
    sleep 0.3
    shot selection-key-held-help
    xdotool key Escape
    wait_for 5 sh -c "! xdotool search --onlyvisible --name '^Tavelin Help\$' | grep -q ." ||
        fail "the help window did not close"
    xdotool windowactivate --sync "$id" 2>/dev/null
    xdotool key ctrl+q
    wait_for 5 sh -c "! kill -0 $APP_PID" || fail "Ctrl+Q did not end the program"

    printf '[LookUp]\nSelectionKey=ctrl + alt + L\n' >>"$PROGRAM_DIR/Options.ini"
    start_and_wait
    id=$(main_window)
    ! grep -q 'held by another program' "$WORK/stderr" || fail "$(cat "$WORK/stderr")"
    xmessage -geometry +700+400 "another program" &
    echo $! >>"$PID_FILE"
    local other
    other=$(wait_window xmessage) || fail "no other window"
    select_text "bread"
    look_up_from "$other" ctrl+alt+l
    expect_pair "$id" "bread|հաց" "Ctrl+Alt+L"
}

ALL_SCENARIOS+=(selection_look_up selection_key_held)
