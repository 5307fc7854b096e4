# The lists are kept in a copy in the cache folder for the next start; a
# start takes the copy only while the dictionary is as it was, so a word the
# tool adds between two starts is listed at the second.

copy_of_lists() { ls "$XDG_CACHE_HOME"/tavelin/lists-EA.tvl-* 2>/dev/null | head -1; }

scenario_word_list_copy() {
    # A dictionary written moments ago is read, never copied: let it settle.
    sleep 2.2
    start_and_wait
    wait_for 5 sh -c "ls '$XDG_CACHE_HOME'/tavelin/lists-EA.tvl-* >/dev/null 2>&1" ||
        fail "no copy of the English-Armenian lists in $XDG_CACHE_HOME/tavelin"
    local copy
    copy=$(copy_of_lists)
    xdotool key ctrl+q
    wait_for 5 sh -c "! pgrep -f '^$PROGRAM_DIR/tavelin'" || fail "Ctrl+Q did not end the program"

    # The copy stays the dictionary's while nothing changes it.
    start_and_wait
    stop_program
    [ "$(copy_of_lists)" = "$copy" ] || fail "the copy was made anew"

    printf 'zygote\tզիգոտ\n' >"$WORK/copy.tsv"
    "$TAVELIN_DICT" import "$PROGRAM_DIR/EA.tvl" "$WORK/copy.tsv" >/dev/null
    start_and_wait
    local id
    id=$(main_window)
    type_text "zygo"
    shot word-list-copy
    click_control "$id" 2040 5055 495 400 # Command1
    wait_for 2 sh -c '[ "$(xclip -o -selection clipboard)" = zygote ]' ||
        fail "the word added between the starts is not listed: clipboard $(clipboard)"
}

ALL_SCENARIOS+=(word_list_copy)
