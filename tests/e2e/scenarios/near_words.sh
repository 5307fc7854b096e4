# Near words: a search box whose text begins no word drops a list of the
# nearest words below it, without taking the keyboard from the box.

add_near_words() {
    printf 'hello\tբարև\nhelp\tօգնություն\nmountain\tլեռ\n' >"$WORK/near-en.tsv"
    printf 'Ереван\tԵրևան\n' >"$WORK/near-ru.tsv"
    "$TAVELIN_DICT" import "$PROGRAM_DIR/EA.tvl" "$WORK/near-en.tsv" >/dev/null
    "$TAVELIN_DICT" import "$PROGRAM_DIR/RA.tvl" "$WORK/near-ru.tsv" >/dev/null
}

near_words_window() { window_by_title '^Near Words$'; }
near_words_shown() { [ -n "$(near_words_window)" ]; }

near_clipboard_is() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }

# Copies what the box the keyboard is in holds, without a click.
copy_focused_box() { xdotool key ctrl+a ctrl+c; }

# Clicks a copy button and waits for its word on the clipboard.
expect_copied() {
    local id=$1 left=$2 word=$3
    sleep 0.3 # the copy buttons follow the chosen word within a timer tick
    click_control "$id" "$left" 5055 495 400
    wait_for 2 near_clipboard_is "$word" || fail "expected $word on the clipboard: $(clipboard)"
}

# "helo" offers "hello": Down and Enter put it into Text1, whose pair shows;
# the keyboard stays in the box all along. "mountian" offers "mountain" to a
# click; "Ереаан" offers "Ереван"; "ջուրր" in Text2 offers "ջուր", and Esc
# closes the list. Switched off in the Tools menu, nothing is offered.
scenario_near_words() {
    add_near_words
    start_and_wait
    local id
    id=$(main_window)
    click_control "$id" 75 840 2460 435 # Text1
    type_text "helo"
    wait_for 2 near_words_shown || fail "helo: no near words"
    has_focus "$id" || fail "the near words took the focus"
    shot near-words
    xdotool key Down Return
    wait_for 2 sh -c "! xdotool search --onlyvisible --name '^Near Words\$' | grep -q ." ||
        fail "Enter did not close the near words"
    copy_focused_box
    wait_for 2 near_clipboard_is hello || fail "Text1 holds $(clipboard)"
    expect_copied "$id" 2040 hello    # Command1: Text3
    expect_copied "$id" 5880 "բարև" # Command2: Text7

    click_control "$id" 75 840 2460 435
    xdotool key ctrl+a BackSpace
    type_text "mountian"
    wait_for 2 near_words_shown || fail "mountian: no near words"
    eval "$(xdotool getwindowgeometry --shell "$(near_words_window)")"
    xdotool mousemove $((X + 20)) $((Y + 8)) click 1 mousemove 0 0
    wait_for 2 sh -c "! xdotool search --onlyvisible --name '^Near Words\$' | grep -q ." ||
        fail "a click did not close the near words"
    has_focus "$id" || fail "a click on the near words took the focus"
    copy_focused_box
    wait_for 2 near_clipboard_is mountain || fail "Text1 holds $(clipboard)"
    expect_copied "$id" 2040 mountain

    click_control "$id" 2620 840 3735 435 # Text2
    xdotool key ctrl+a BackSpace
    type_text "ջուրր"
    wait_for 2 near_words_shown || fail "ջուրր: no near words"
    shot near-words-armenian
    has_focus "$id" || fail "the near words took the focus"
    xdotool key Escape
    wait_for 2 sh -c "! xdotool search --onlyvisible --name '^Near Words\$' | grep -q ." ||
        fail "Esc did not close the near words"
    copy_focused_box
    wait_for 2 near_clipboard_is "ջուրր" || fail "Esc changed Text2: $(clipboard)"

    xdotool key ctrl+Tab
    wait_for 2 sh -c "xdotool getwindowname $id | grep -qx ' Tavelin (Rus - Arm) '" ||
        fail "no page switch"
    click_control "$id" 75 840 2460 435 # Text5
    type_text "Ереаан"
    wait_for 2 near_words_shown || fail "Ереаан: no near words"
    xdotool key Down
    shot near-words-russian
    xdotool key Return
    wait_for 2 sh -c "! xdotool search --onlyvisible --name '^Near Words\$' | grep -q ." ||
        fail "Enter did not close the near words"
    copy_focused_box
    wait_for 2 near_clipboard_is "Ереван" || fail "Text5 holds $(clipboard)"
    expect_copied "$id" 2040 "Ереван" # Command3: Text6

    xdotool key alt+t
    wait_for 3 sh -c "xdotool search --onlyvisible --classname tavelin | grep -vqx $id" ||
        fail "the Tools menu did not open"
    xdotool key n # &Near Words
    wait_for 3 sh -c "grep -qx 'NearWords=False' '$PROGRAM_DIR/Options.ini'" ||
        fail "the switch was not kept: $(cat "$PROGRAM_DIR/Options.ini" 2>/dev/null)"
    click_control "$id" 75 840 2460 435
    xdotool key ctrl+a BackSpace
    type_text "Ереаан"
    sleep 0.3
    near_words_shown && fail "near words offered with the switch off"
    true
}

ALL_SCENARIOS+=(near_words)
