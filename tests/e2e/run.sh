#!/usr/bin/env bash
# End-to-end tests: the real program in a real X session, driven with the
# keyboard and the mouse as a user would. Prints one line per scenario and
# "N passed, N failed" at the end.
#
# Usage: run.sh TAVELIN TAVELIN_DICT [SCENARIO...]
TAVELIN=$(realpath "$1")
TAVELIN_DICT=$(realpath "$2")
shift 2
SCENARIOS=("$@")
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
    awk 'BEGIN { for (i = 0; i < 50000; i++) printf "w%07d\tբառ\n", i }' >"$WORK/big.tsv"
    rm "$PROGRAM_DIR/EA.tvl"
    "$TAVELIN_DICT" import "$PROGRAM_DIR/EA.tvl" "$WORK/big.tsv" >/dev/null
    # The splash may be up for only a few milliseconds: watch the windows the
    # X server makes rather than polling for it.
    xev -root -event substructure >"$WORK/xev.log" 2>/dev/null &
    local watcher=$!
    echo "$watcher" >>"$PID_FILE"
    sleep 0.3
    start_program
    wait_main_window 20 || fail "the main window did not appear"
    kill "$watcher"
    local id
    id=$(main_window)
    # The splash: a window of the skin's size, 208 x 221, mapped before the main window.
    grep -q 'width 208, height 221' "$WORK/xev.log" || fail "no splash of 208 x 221 appeared"
    [ -z "$(xdotool search --onlyvisible --name '^Form1$')" ] || fail "the splash is still there"
    is_above "$id" || fail "the main window is not above other windows"
    xdotool getwindowname "$id" | grep -qx ' Tavelin (Eng - Arm) ' || fail "caption"
    shot main-start
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
    local box
    box=$(window_by_title '^Tavelin$')
    is_above "$box" || fail "the message box is not above other windows"
    above_in_stack "$box" "$(main_window)" || fail "the message box is beneath the main window"
    xdotool windowactivate --sync "$(window_by_title '^Tavelin$')" key Return
    wait_for 5 sh -c "! kill -0 $second" || fail "the second copy did not end"
    kill -0 "$first" || fail "the first copy ended"
}

# The top-level window (the window manager's frame) that holds a client window.
frame_of() {
    local id=$1 parent
    while :; do
        parent=$(xwininfo -children -id "$id" | awk '/Parent window id:/ {print $4}')
        [ -z "$parent" ] && return 1
        xwininfo -id "$parent" | grep -q '(the root window)' && { echo "$id"; return 0; }
        id=$parent
    done
}

# Whether window $1 is stacked above window $2 (the X server's own stacking
# order of the root's children, which xwininfo lists top first).
above_in_stack() {
    local upper lower
    upper=$(($(frame_of "$1"))) lower=$(($(frame_of "$2")))
    xwininfo -root -children | awk '/^     0x/ {print $1}' | while read -r w; do
        case $((w)) in
        "$lower") echo lower ;;
        "$upper") echo upper ;;
        esac
    done | tr '\n' ' ' | grep -q '^upper lower'
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
    type_text "wat" # no click first: the English search box has the keyboard
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

# Waits for a window with the exact title and prints its id.
wait_window() {
    local title=$1 id=
    wait_for "${2:-5}" sh -c "xdotool search --onlyvisible --name '^$title\$' | grep -q ." || return 1
    window_by_title "^$title\$"
}

# Clicks a control of a dialog (no menu bar) given in twips.
click_dialog() {
    local id=$1 left=$2 top=$3 width=$4 height=$5
    click_in "$id" $(px $((left + width / 2))) $(px $((top + height / 2)))
}

lookup() { "$TAVELIN_DICT" lookup "$PROGRAM_DIR/$1" "$2"; }

# 6. Adding a pair through the dialog, a refused duplicate, a refused digit.
scenario_add() {
    start_and_wait
    xdotool key ctrl+i
    local dialog
    dialog=$(wait_window Add) || fail "no Add dialog"
    xdotool key Tab Tab # from the Add button over Close to the English field
    type_text "zebra"
    xdotool key Tab
    type_text "զեբր"
    shot add-dialog
    xdotool key Return
    wait_for 5 sh -c "! xdotool search --onlyvisible --name '^Add\$' | grep -q ." ||
        fail "the dialog did not close"
    [ "$(lookup EA.tvl zebra)" = "զեբր" ] || fail "not stored: $(lookup EA.tvl zebra)"
    # The window manager may leave the focus nowhere when a dialog goes; a
    # user then clicks the dictionary's window.
    wait_for 2 has_focus "$(main_window)" || xdotool windowactivate --sync "$(main_window)"
    wait_for 5 has_focus "$(main_window)" || fail "the main window did not get the focus back"
    xdotool key ctrl+i
    wait_window Add >/dev/null || fail "no Add dialog the second time"
    xdotool key Tab Tab
    type_text "ZEBRA"
    xdotool key Tab
    type_text "զեբր"
    xdotool key Return
    wait_window ErrorAdd >/dev/null || fail "no ErrorAdd for a duplicate"
    shot error-notice
    xdotool key Return
    wait_for 5 sh -c "! xdotool search --onlyvisible --name '^ErrorAdd\$' | grep -q ." ||
        fail "the notice did not close"
    # Back in the dialog: a new word with a digit typed into it.
    xdotool key ctrl+a
    xdotool key shift+Tab
    xdotool key ctrl+a BackSpace
    type_text "ant1elope"
    xdotool key Return
    wait_for 5 sh -c "! xdotool search --onlyvisible --name '^Add\$' | grep -q ." ||
        fail "the dialog did not close after the second word"
    [ "$(lookup EA.tvl antelope)" = "զեբր" ] || fail "antelope not stored as typed without the digit"
    ! lookup EA.tvl ant1elope >/dev/null || fail "the digit reached the dictionary"
}

# 7. Deleting the selected pair; Esc deletes nothing.
scenario_delete() {
    start_and_wait
    local id
    id=$(main_window)
    click_control "$id" 75 840 2460 435
    type_text "dog"
    xdotool key alt+e
    sleep 0.2
    xdotool key d
    wait_window Delete >/dev/null || fail "no Delete dialog"
    shot delete-dialog
    xdotool key Return
    wait_for 5 sh -c "! xdotool search --onlyvisible --name '^Delete\$' | grep -q ." ||
        fail "the dialog did not close"
    ! lookup EA.tvl dog >/dev/null || fail "dog is still in the file"
    click_control "$id" 75 840 2460 435
    xdotool key ctrl+a BackSpace
    type_text "cat"
    xdotool key alt+e
    sleep 0.2
    xdotool key d
    wait_window Delete >/dev/null || fail "no Delete dialog the second time"
    xdotool key Escape
    wait_for 5 sh -c "! xdotool search --onlyvisible --name '^Delete\$' | grep -q ." ||
        fail "Esc did not close the dialog"
    [ "$(lookup EA.tvl cat)" = "կատու" ] || fail "Esc deleted cat"
}

# 8. The options dialog: Default then Ok writes the page's two sections; Cancel writes nothing.
scenario_options() {
    start_and_wait
    xdotool key ctrl+d
    local dialog
    dialog=$(wait_window Properties) || fail "no Properties dialog"
    shot properties
    click_dialog "$dialog" 3480 3600 1335 495 # Cancel
    wait_for 5 sh -c "! xdotool search --onlyvisible --name '^Properties\$' | grep -q ." ||
        fail "Cancel did not close"
    [ ! -e "$PROGRAM_DIR/Options.ini" ] || fail "Cancel wrote $(cat "$PROGRAM_DIR/Options.ini")"
    xdotool key ctrl+d
    dialog=$(wait_window Properties) || fail "no Properties dialog the second time"
    # A double click on the English sample opens the font and colour chooser.
    xdotool mousemove --window "$dialog" $(px $((120 + 1147))) $(px $((840 + 400))) \
        click --repeat 2 --delay 80 1
    local chooser
    chooser=$(wait_window 'Font - English') || fail "no chooser"
    shot chooser
    xdotool key Escape
    wait_for 5 sh -c "! xdotool search --onlyvisible --name '^Font - English\$' | grep -q ." ||
        fail "Esc did not close the chooser"
    click_dialog "$dialog" 120 3600 1335 495  # Default
    click_dialog "$dialog" 1800 3600 1335 495 # Ok
    wait_for 5 sh -c "! xdotool search --onlyvisible --name '^Properties\$' | grep -q ." ||
        fail "Ok did not close"
    grep -qx '\[EnglishList\]' "$PROGRAM_DIR/Options.ini" || fail "no [EnglishList]"
    grep -qx '\[ArmenianList\]' "$PROGRAM_DIR/Options.ini" || fail "no [ArmenianList]"
    ! grep -q 'RussianList' "$PROGRAM_DIR/Options.ini" || fail "the other page's section was written"
}

window_geometry() { # left top width height of the window's client, in pixels
    xwininfo -id "$1" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}

ini_value() { awk -F= -v key="$1" '$1 == key {print $2; exit}' "$PROGRAM_DIR/Options.ini"; }

near() { local d=$(($1 - $2)); [ ${d#-} -le "$3" ]; }

is_maximized() { xprop -id "$1" _NET_WM_STATE 2>/dev/null | grep -q MAXIMIZED_HORZ; }
is_not_maximized() { ! is_maximized "$1"; }
is_iconic() { xprop -id "$1" WM_STATE 2>/dev/null | grep -q Iconic; }
client_width_is() { [ "$(window_geometry "$1" | cut -d' ' -f3)" = "$2" ]; }

# 9. The window opens where it was closed, and maximised when closed maximised.
scenario_placement() {
    start_and_wait
    local id
    id=$(main_window)
    xdotool windowsize "$id" 600 560
    xdotool windowmove "$id" 200 120
    sleep 0.5
    local before
    before=$(window_geometry "$id")
    xdotool key ctrl+q
    wait_for 5 sh -c "! pgrep -f '^$PROGRAM_DIR/tavelin'" || fail "Ctrl+Q did not end the program"
    grep -q '^WindowMaximized=False' "$PROGRAM_DIR/Options.ini" || fail "no WindowMaximized=False"
    local width
    width=$(ini_value Width)
    [ -n "$width" ] && near "${width%%[.,]*}" $((600 * 15)) 600 || fail "Width=$width"
    start_and_wait
    id=$(main_window)
    local after
    after=$(window_geometry "$id")
    set -- $before
    local bx=$1 by=$2 bw=$3 bh=$4
    set -- $after
    near "$1" "$bx" 3 && near "$2" "$by" 3 && near "$3" "$bw" 3 && near "$4" "$bh" 3 ||
        fail "closed at $before, opened at $after"
    wmctrl -i -r "$id" -b add,maximized_vert,maximized_horz
    wait_for 5 is_maximized "$id" || fail "not maximised"
    xdotool key ctrl+q
    wait_for 5 sh -c "! pgrep -f '^$PROGRAM_DIR/tavelin'" || fail "Ctrl+Q did not end the program"
    grep -q '^WindowMaximized=True' "$PROGRAM_DIR/Options.ini" || fail "no WindowMaximized=True"
    start_and_wait
    xprop -id "$(main_window)" _NET_WM_STATE | grep -q MAXIMIZED_HORZ || fail "not maximised"
}

# 9b. Maximise, hide, restore, un-maximise, quit, start: five times over, and
# the window opens where it was, the same size (no frame lost on the way).
scenario_placement_cycles() {
    start_and_wait
    local id
    id=$(main_window)
    xdotool windowsize "$id" 520 500
    xdotool windowmove "$id" 300 150
    sleep 0.5
    local first
    first=$(window_geometry "$id")
    local cycle
    for cycle in 1 2 3 4 5; do
        wmctrl -i -r "$id" -b add,maximized_vert,maximized_horz
        wait_for 5 is_maximized "$id" || fail "cycle $cycle: not maximised"
        if ((cycle % 2)); then
            xdotool key ctrl+F7
        else
            xdotool windowminimize "$id"
        fi
        wait_for 5 sh -c "! xwininfo -id $id | grep -q IsViewable" || fail "cycle $cycle: not hidden"
        if ((cycle % 2)); then
            xdotool key ctrl+F8
        else
            local centre
            centre=$(tray_icon_centre) || fail "cycle $cycle: no tray icon"
            set -- $centre
            xdotool mousemove "$1" "$2" click --repeat 2 --delay 80 1
        fi
        wait_for 5 sh -c "xwininfo -id $id | grep -q IsViewable" || fail "cycle $cycle: not back"
        wmctrl -i -r "$id" -b remove,maximized_vert,maximized_horz
        wait_for 5 is_not_maximized "$id" || fail "cycle $cycle: still maximised"
        sleep 0.3 # the window manager moves the window back after the state
        local before
        before=$(window_geometry "$id")
        xdotool key ctrl+q
        wait_for 5 sh -c "! pgrep -f '^$PROGRAM_DIR/tavelin'" || fail "cycle $cycle: Ctrl+Q"
        start_and_wait
        id=$(main_window)
        local now
        now=$(window_geometry "$id")
        set -- $before
        local bx=$1 by=$2 bw=$3 bh=$4
        set -- $first
        local fw=$3 fh=$4
        set -- $now
        near "$1" "$bx" 2 && near "$2" "$by" 2 && near "$3" "$bw" 2 && near "$4" "$bh" 2 &&
            near "$3" "$fw" 2 && near "$4" "$fh" 2 ||
            fail "cycle $cycle: closed at $before (first $first), opened at $now"
    done
}

# 9c. Sizes far beyond the screen: the window opens on the screen, answers,
# stays small, and a sane size is written back. Twice the scale on a small
# screen fits too.
scenario_placement_limits() {
    local size
    for size in 600000 99999999; do
        printf '[Positions]\nWindowMaximized=False\nTop=1500\nLeft=1500\nHeight=%s\nWidth=%s\n' \
            "$size" "$size" >"$PROGRAM_DIR/Options.ini"
        start_program
        wait_main_window 2 || fail "$size: no window within two seconds"
        local x y w h
        read -r x y w h < <(window_geometry "$(main_window)")
        ((w <= 1280 && h <= 800)) || fail "$size: window of $w x $h"
        local rss
        rss=$(awk '/VmHWM/ {print $2}' /proc/$APP_PID/status)
        ((rss < 200 * 1024)) || fail "$size: $rss KiB of memory"
        xdotool key ctrl+q
        wait_for 5 sh -c "! kill -0 $APP_PID" || fail "$size: Ctrl+Q did not end the program"
        local height width
        height=$(ini_value Height) width=$(ini_value Width)
        ((${height%%[.,]*} <= 800 * 15 && ${width%%[.,]*} <= 1280 * 15)) ||
            fail "$size: saved Height=$height Width=$width"
    done
    rm "$PROGRAM_DIR/Options.ini"
    QT_SCALE_FACTOR=2 start_program
    wait_main_window 5 || fail "scale 2: no window"
    read -r x y w h < <(window_geometry "$(main_window)")
    ((x >= 0 && y >= 0 && x + w <= 1280 && y + h <= 800)) ||
        fail "scale 2: the window at $x,$y of $w x $h does not fit the screen"
    shot scale-two
}

# The program's icon windows embedded in trayer's panel.
tray_icons() {
    xwininfo -root -tree | awk '
        /"panel": \("panel" "trayer"\)/ { depth = match($0, /[^ ]/); next }
        depth && match($0, /[^ ]/) <= depth { depth = 0 }
        depth && /"Tavelin": \("tavelin"/ { print $1 }'
}

tray_icon_count() { tray_icons | wc -l; }
has_tray_icon() { [ -n "$(tray_icons)" ]; }

# The centre of the first icon, as "x y" on the screen.
tray_icon_centre() {
    local icon
    icon=$(tray_icons | head -1)
    [ -n "$icon" ] || return 1
    xwininfo -id "$icon" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print int(x + w / 2), int(y + h / 2)}'
}

# The icon's pop-up menu, when open: a small top-level window of the program's.
menu_open() {
    local w
    for w in $(xwininfo -root -tree |
        awk '/^     0x[0-9a-f]+ "Tavelin": \("tavelin" "Tavelin"\)  [0-9]+x[2-9][0-9]\+/ {print $1}'); do
        is_mapped "$w" && return 0
    done
    return 1
}

# 10. Minimising leaves the tray icon; its double click brings the window back; its menu.
scenario_tray() {
    start_and_wait
    local id
    id=$(main_window)
    wait_for 5 has_tray_icon || fail "no tray icon"
    local centre
    centre=$(tray_icon_centre) || fail "no tray icon"
    xdotool windowminimize "$id"
    wait_for 5 sh -c "! xwininfo -id $id | grep -q IsViewable" || fail "still mapped after minimising"
    [ -n "$(tray_icon_centre)" ] || fail "the icon went away"
    set -- $centre
    xdotool mousemove "$1" "$2" click --repeat 2 --delay 80 1
    wait_main_window 5 || fail "a double click on the icon did not bring the window back"
    sleep 1 # openbox needs a moment before the icon's menu opens
    xdotool mousemove "$1" "$2" click 3
    wait_for 5 menu_open || fail "no menu on a right click"
    shot tray-menu
    xdotool key Escape
    sleep 0.5
    # Hidden with Ctrl+F7 in the normal state, brought back by a double click
    # and by "Show Dictionary": the icon's menu still answers, and the
    # English search box has the keyboard.
    local way
    for way in double_click menu; do
        xdotool key ctrl+F7
        wait_for 5 sh -c "! xwininfo -id $id | grep -q IsViewable" || fail "$way: Ctrl+F7 did not hide"
        sleep 0.5
        if [ "$way" = double_click ]; then
            xdotool mousemove "$1" "$2" click --repeat 2 --delay 80 1
        else
            xdotool mousemove "$1" "$2" click 3
            wait_for 5 menu_open || fail "no menu while hidden"
            xdotool key Down Down Return # "&About", then "&Show Dictionary"
        fi
        wait_main_window 5 || fail "$way: the window did not come back"
        sleep 1
        xdotool mousemove "$1" "$2" click 3
        wait_for 5 menu_open || fail "$way: no menu on a right click after the window came back"
        xdotool key Escape
        sleep 0.5
    done
    wait_for 5 has_focus "$id" || fail "the window did not get the focus back"
    type_text "ap"
    shot tray-typed-after-restore
    click_control "$id" 2040 5055 495 400 # Command1
    wait_for 2 sh -c '[ "$(xclip -o -selection clipboard)" = apple ]' ||
        fail "typing after the restore: clipboard $(clipboard)"
}

# 10b. The notification area goes away while the window is hidden in it: the
# window comes back, and minimising then leaves it in the task bar.
scenario_tray_host_gone() {
    start_and_wait
    local id
    id=$(main_window)
    wait_for 5 has_tray_icon || fail "no tray icon"
    xdotool windowminimize "$id"
    wait_for 5 sh -c "! xwininfo -id $id | grep -q IsViewable" || fail "still mapped after minimising"
    pkill -x trayer
    wait_for 2.5 sh -c "xwininfo -id $id | grep -q IsViewable" ||
        fail "the window did not come back when the notification area went"
    sleep 0.3
    xdotool windowminimize "$id"
    wait_for 5 is_iconic "$id" || fail "not minimised in the task bar: $(xprop -id "$id" WM_STATE)"
    kill -0 "$APP_PID" || fail "the program ended"
    background trayer --edge top --align right --widthtype pixel --width 200 --height 32 \
        --SetDockType true --transparent false
    wait_for 10 sh -c 'xdotool search --classname trayer' || fail "trayer did not start again"
}

# 11. Ctrl+F7 and Ctrl+F8 from another program's window.
scenario_hot_keys() {
    start_and_wait
    local id
    id=$(main_window)
    xmessage -geometry +50+50 "another program" &
    echo $! >>"$PID_FILE"
    local other
    other=$(wait_window xmessage) || fail "no other window"
    xdotool windowactivate --sync "$other" 2>/dev/null
    xdotool key ctrl+F7
    wait_for 5 sh -c "! xwininfo -id $id | grep -q IsViewable" || fail "Ctrl+F7 did not hide"
    xdotool key ctrl+F7
    sleep 0.3
    local icons
    icons=$(tray_icon_count)
    [ "$icons" -eq 1 ] || fail "$icons tray icons after Ctrl+F7 twice"
    xdotool key ctrl+F8
    wait_for 5 sh -c "xwininfo -id $id | grep -q IsViewable" || fail "Ctrl+F8 did not show"
    # The keys work whatever the state of Num Lock.
    xdotool windowactivate --sync "$other" 2>/dev/null
    xdotool key Num_Lock
    xdotool key ctrl+F7
    wait_for 5 sh -c "! xwininfo -id $id | grep -q IsViewable" || fail "Ctrl+F7 with Num Lock"
    xdotool key ctrl+F8
    wait_for 5 sh -c "xwininfo -id $id | grep -q IsViewable" || fail "Ctrl+F8 with Num Lock"
    xdotool key Num_Lock
}

# Width of the white list area on the row through (x, y) of a screenshot.
white_run() {
    local shot=$1 x=$2 y=$3
    convert "$shot" -crop "1280x1+0+$y" +repage txt:- |
        awk -v start="$x" -F'[,: ]+' 'NR > 1 && $1 >= start {
            if ($0 ~ /#FFFFFF/) n++; else if (n > 0) { print n; exit } }'
}

# 12. Twice the size, twice the width of the English list.
scenario_resize() {
    start_and_wait
    local id
    id=$(main_window)
    local x y w h
    read -r x y w h < <(window_geometry "$id")
    local menu=$((h - CLIENT_HEIGHT))
    local lx=$((x + $(px 75) + 4)) ly=$((y + menu + $(px $((520 + 1320 + 3000)))))
    shot resize-before
    local before
    before=$(white_run "$SHOTS/resize-before.png" "$lx" "$ly")
    xdotool windowsize "$id" $((w * 2)) $((h * 2))
    wait_for 5 client_width_is "$id" $((w * 2)) || fail "the window did not take the new size"
    sleep 0.3 # its controls are placed once the window has its size
    read -r x y w h < <(window_geometry "$id")
    menu=$((h - 2 * CLIENT_HEIGHT))
    lx=$((x + 2 * $(px 75) + 4))
    ly=$((y + menu + 2 * $(px $((520 + 1320 + 3000)))))
    shot resize-after
    local after
    after=$(white_run "$SHOTS/resize-after.png" "$lx" "$ly")
    [ -n "$before" ] && [ -n "$after" ] || fail "list not found ($before, $after)"
    near "$after" $((before * 2)) 12 || fail "list width $before -> $after"
}

# 13. The About box opens from the Help menu and Close closes it.
scenario_about() {
    start_and_wait
    xdotool key alt+h
    sleep 0.2
    xdotool key a
    local about
    about=$(wait_window 'About MyApp') || fail "no About box"
    shot about
    click_dialog "$about" 4440 3240 1140 345
    wait_for 5 sh -c "! xdotool search --onlyvisible --name '^About MyApp\$' | grep -q ." ||
        fail "Close did not close"
}

# 15. Installed (cmake --install into a staging root), started with an empty
# home: the user's dictionaries and settings go to the XDG folders, a word
# added is there after a restart, and a second install leaves them alone.
scenario_installed() {
    local root=$PROGRAM_DIR/root home
    home=$(mktemp -d "$WORK/home-XXXX")
    DESTDIR=$root cmake --install "$(dirname "$TAVELIN")" --prefix /usr >"$WORK/install.log" 2>&1 ||
        fail "cmake --install: $(cat "$WORK/install.log")"
    start_installed() {
        env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$home" "$root/usr/bin/tavelin" \
            >"$WORK/stdout" 2>"$WORK/stderr" &
        APP_PID=$!
        echo "$APP_PID" >>"$PID_FILE"
        wait_main_window 15 || fail "the installed program showed no window: $(cat "$WORK/stderr")"
        wait_for 5 has_focus "$(main_window)" || fail "the main window did not get the focus"
    }
    local data=$home/.local/share/tavelin config=$home/.config/tavelin
    start_installed
    [ -s "$data/EA.tvl" ] && [ -s "$data/RA.tvl" ] || fail "no dictionaries in $data: $(ls -a "$data")"
    ls "$data" | grep -qv -e '\.tvl$' -e '\.tvl-wal$' -e '\.tvl-shm$' && fail "stray files: $(ls "$data")"
    [ ! -e "$root/usr/bin/EA.tvl" ] || fail "a dictionary was made beside the program"
    xdotool key ctrl+i
    wait_window Add >/dev/null || fail "no Add dialog"
    xdotool key Tab Tab
    type_text "zeppelin"
    xdotool key Tab
    type_text "ցեպելին"
    xdotool key Return
    wait_for 5 sh -c "! xdotool search --onlyvisible --name '^Add\$' | grep -q ." ||
        fail "the dialog did not close"
    wait_for 2 has_focus "$(main_window)" || xdotool windowactivate --sync "$(main_window)"
    xdotool key ctrl+q
    wait_for 5 sh -c "! kill -0 $APP_PID" || fail "Ctrl+Q did not end the program"
    [ -s "$config/Options.ini" ] || fail "no Options.ini in $config"
    [ "$("$TAVELIN_DICT" lookup "$data/EA.tvl" zeppelin)" = "ցեպելին" ] || fail "the word was not kept"
    local before
    before=$(cd "$home" && find . -type f | sort | xargs sha256sum)
    DESTDIR=$root cmake --install "$(dirname "$TAVELIN")" --prefix /usr >"$WORK/install.log" 2>&1 ||
        fail "the second install: $(cat "$WORK/install.log")"
    [ "$(cd "$home" && find . -type f | sort | xargs sha256sum)" = "$before" ] ||
        fail "the second install changed the user's files"
    start_installed
    type_text "zep"
    shot installed-typed
    sleep 0.2 # the copy buttons follow the choice within a timer's tick
    click_control "$(main_window)" 2040 5055 495 400 # Command1
    wait_for 2 sh -c '[ "$(xclip -o -selection clipboard)" = zeppelin ]' ||
        fail "after a restart: clipboard $(clipboard)"
    shot installed
}

# 16. Under a file-size limit the dictionary's journal soon cannot grow: adds
# go through until one is refused with a message, and the program goes on.
# Every confirmed add is kept; quitting with a settings file past the limit
# ends normally, the old settings kept.
scenario_file_size_limit() {
    awk 'BEGIN { for (i = 0; i < 20000; i++) printf "w%07d\tբառ\n", i }' >"$WORK/big.tsv"
    rm "$PROGRAM_DIR/EA.tvl"
    "$TAVELIN_DICT" import "$PROGRAM_DIR/EA.tvl" "$WORK/big.tsv" >/dev/null
    { printf '[Positions]\nWindowMaximized=False\n'
      head -c 600000 /dev/zero | tr '\0' ';'; printf '\n'; } >"$PROGRAM_DIR/Options.ini"
    local settings
    settings=$(sha256sum <"$PROGRAM_DIR/Options.ini")
    prlimit --fsize=40000 "$PROGRAM_DIR/tavelin" >"$WORK/stdout" 2>"$WORK/stderr" &
    APP_PID=$!
    echo "$APP_PID" >>"$PID_FILE"
    wait_main_window 15 || fail "no window: $(cat "$WORK/stderr")"
    wait_for 5 has_focus "$(main_window)" || fail "the main window did not get the focus"
    local added=() refused= word
    for word in zza zzb zzc zzd zze zzf zzg zzh zzi zzj; do
        xdotool key ctrl+i
        wait_window Add >/dev/null || fail "no Add dialog"
        xdotool key Tab Tab
        type_text "$word"
        xdotool key Tab
        type_text "զզզ"
        xdotool key Return
        if wait_window ErrorAdd 2 >/dev/null; then
            refused=$word
            break
        fi
        wait_for 5 sh -c "! xdotool search --onlyvisible --name '^Add\$' | grep -q ." ||
            fail "the dialog did not close after adding $word"
        added+=("$word")
        wait_for 2 has_focus "$(main_window)" || xdotool windowactivate --sync "$(main_window)"
    done
    [ -n "$refused" ] || fail "ten adds went through a 40000-byte limit"
    shot file-size-limit
    kill -0 "$APP_PID" || fail "the program ended"
    xdotool key Return
    wait_for 5 sh -c "! xdotool search --onlyvisible --name '^ErrorAdd\$' | grep -q ." ||
        fail "the message did not close"
    wmctrl -i -c "$(window_by_title '^Add$')" # its close button
    wait_for 5 sh -c "! xdotool search --onlyvisible --name '^Add\$' | grep -q ." ||
        fail "the Add dialog did not close"
    wait_for 2 has_focus "$(main_window)" || xdotool windowactivate --sync "$(main_window)"
    xdotool key ctrl+q
    wait_for 5 sh -c "! kill -0 $APP_PID" || fail "Ctrl+Q did not end the program"
    wait "$APP_PID"
    local status=$?
    [ "$status" -eq 0 ] || fail "exit status $status"
    for word in "${added[@]}"; do
        [ "$(lookup EA.tvl "$word")" = "զզզ" ] || fail "the confirmed add of $word was lost"
    done
    [ -z "$(lookup EA.tvl "$refused")" ] || fail "the refused $refused was stored"
    [ "$("$TAVELIN_DICT" count "$PROGRAM_DIR/EA.tvl")" -eq $((20000 + ${#added[@]})) ] ||
        fail "the dictionary holds $("$TAVELIN_DICT" count "$PROGRAM_DIR/EA.tvl") pairs"
    [ "$(sha256sum <"$PROGRAM_DIR/Options.ini")" = "$settings" ] || fail "the settings changed"
}

# 14. A settings file of random bytes does not stop the program.
scenario_bad_settings() {
    head -c 4096 /dev/urandom >"$PROGRAM_DIR/Options.ini"
    start_and_wait
}


ALL_SCENARIOS=(start second_copy missing_dictionary look_up
    armenian_direction add delete options placement placement_cycles placement_limits tray
    tray_host_gone hot_keys resize about bad_settings installed file_size_limit)
# Further scenarios, one file per feature; each adds its names to ALL_SCENARIOS.
for more in "$E2E_DIR"/scenarios/*.sh; do
    [ -e "$more" ] && source "$more"
done

start_x_session
[ ${#SCENARIOS[@]} -gt 0 ] || SCENARIOS=("${ALL_SCENARIOS[@]}")
for name in "${SCENARIOS[@]}"; do
    make_program_dir
    scenario "$name" "scenario_$name"
done
echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
