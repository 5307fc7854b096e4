# Look-up aids: е and ё as one letter in the Russian search, Latin keys
# typing Armenian letters; each on by default and switched off from the
# Tools menu or Options.ini.

# Words of the aids' own, imported over the usual test words.
add_aid_words() {
    printf 'ель\tեղևնի\nеще\tդեռ\nёлка\tտոնածառ\n' >"$WORK/aids-ru.tsv"
    printf 'hi\tբարեվ\nhello\tբարև\nrelative\tբարեկամ\n' >"$WORK/aids-en.tsv"
    "$TAVELIN_DICT" import "$PROGRAM_DIR/RA.tvl" "$WORK/aids-ru.tsv" >/dev/null
    "$TAVELIN_DICT" import "$PROGRAM_DIR/EA.tvl" "$WORK/aids-en.tsv" >/dev/null
}

clipboard_is() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }

# Copies a search box's text as a user would: select all, copy.
copy_box() {
    click_control "$@"
    xdotool key ctrl+a ctrl+c
}

# Empties a search box the keyboard is in.
clear_box() { xdotool key ctrl+a BackSpace; }

# Command3, the copy button of the chosen Russian word, copies nothing while
# no word is chosen: a marker on the clipboard stays.
expect_no_russian_word() {
    printf 'marker' | xclip -selection clipboard
    wait_for 2 clipboard_is marker || fail "the marker did not reach the clipboard"
    sleep 0.3 # the copy buttons follow the chosen word within a timer tick
    click_control "$1" 2040 5055 495 400 # Command3
    sleep 0.3
    clipboard_is marker || fail "$2: a word was chosen ($(clipboard))"
}

# "елк" finds "ёлка" and "ещё" finds "еще"; Ё and Е Alike switched off in the
# Tools menu, "елк" finds nothing, and Options.ini keeps the switch.
scenario_yo_is_ye() {
    add_aid_words
    start_and_wait
    local id
    id=$(main_window)
    xdotool key ctrl+Tab
    wait_for 2 sh -c "xdotool getwindowname $id | grep -qx ' Tavelin (Rus - Arm) '" ||
        fail "no page switch"
    click_control "$id" 75 840 2460 435 # Text5
    type_text "елк"
    shot yo-is-ye
    click_control "$id" 2040 5055 495 400 # Command3
    wait_for 2 clipboard_is ёлка || fail "елк: clipboard $(clipboard)"
    click_control "$id" 75 840 2460 435
    clear_box
    type_text "ещё"
    click_control "$id" 2040 5055 495 400
    wait_for 2 clipboard_is еще || fail "ещё: clipboard $(clipboard)"

    xdotool key alt+t
    wait_for 3 sh -c "xdotool search --onlyvisible --classname tavelin | grep -vqx $id" ||
        fail "the Tools menu did not open"
    shot tools-menu
    xdotool key a # Ё and Е &Alike
    wait_for 3 sh -c "grep -qx 'YoIsYe=False' '$PROGRAM_DIR/Options.ini'" ||
        fail "the switch was not kept: $(cat "$PROGRAM_DIR/Options.ini" 2>/dev/null)"
    click_control "$id" 75 840 2460 435
    clear_box
    type_text "елк"
    expect_no_russian_word "$id" "елк with the switch off"
}

# "barev" typed with the US layout into Text2 shows "բարեվ" and chooses the
# first word beginning so; the add dialog's Armenian field takes it as
# Armenian. With LatinTypesArmenian=False in Options.ini, Latin stays Latin.
scenario_latin_armenian() {
    add_aid_words
    start_and_wait
    local id
    id=$(main_window)
    click_control "$id" 2620 840 3735 435 # Text2
    type_text "barev"
    shot latin-armenian
    click_control "$id" 2040 5055 495 400 # Command1
    wait_for 2 clipboard_is hi || fail "barev: clipboard $(clipboard)"
    copy_box "$id" 2620 840 3735 435
    wait_for 2 clipboard_is բարեվ || fail "Text2 shows $(clipboard)"

    xdotool key ctrl+i
    wait_window Add >/dev/null || fail "no Add dialog"
    xdotool key Tab Tab
    type_text "greeting"
    xdotool key Tab
    type_text "Barev"
    shot latin-armenian-add
    xdotool key Return
    wait_for 5 sh -c "! xdotool search --onlyvisible --name '^Add\$' | grep -q ." ||
        fail "the dialog did not close"
    [ "$(lookup EA.tvl greeting)" = "Բարեվ" ] || fail "stored: $(lookup EA.tvl greeting)"

    stop_program
    printf '[LookUp]\nLatinTypesArmenian=False\n' >"$PROGRAM_DIR/Options.ini"
    start_and_wait
    id=$(main_window)
    click_control "$id" 2620 840 3735 435
    type_text "barev"
    copy_box "$id" 2620 840 3735 435
    wait_for 2 clipboard_is barev || fail "with the switch off Text2 shows $(clipboard)"
}

ALL_SCENARIOS+=(yo_is_ye latin_armenian)
