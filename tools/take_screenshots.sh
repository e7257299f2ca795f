#!/usr/bin/env bash
# Takes the README's pictures of lumora.exe running under Wine on a virtual
# display: the day window, its open menu, the local-coordinates dialog and
# the three tools, each with a result shown, the memorial editor with a few
# stored days, and the month window on February 2024.
#   bash tools/take_screenshots.sh [path/to/lumora.exe]   (default build-win/lumora.exe)
# Needs Wine, Xvfb, ImageMagick and xdotool (installed when missing).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exe=${1:-$root/build-win/lumora.exe}
out=$root/docs

for tool in xdotool import Xvfb wine; do
  if ! command -v "$tool" >/dev/null; then
    apt-get update && apt-get install -y xdotool imagemagick xvfb wine wine64
    break
  fi
done

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x640x24 >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
WINEPREFIX=$(mktemp -d)
export WINEPREFIX
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT

wineboot -i >/dev/null 2>&1
# Without a window manager Wine draws the window frames itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
for value in "Version 4.0" "FormLeft 382" "FormTop 170"; do
  set -- $value
  wine reg add 'HKCU\Software\Lumora' /v "$1" /d "$2" /f >/dev/null 2>&1
done

# A few stored days for the editor's picture: the text is right-aligned in 20 bytes.
aligned() { printf '%*s%s' $((20 - $(printf '%s' "$1" | iconv -f UTF-8 -t GBK | wc -c))) '' "$1"; }
memorial() {  # key name era-year text
  wine reg add "HKCU\\Software\\Lumora\\$1" /v "$2" /d "$3$(aligned "$4")" /f >/dev/null 2>&1
}
memorial SolarMemorial 05-12 AD1998 "结婚纪念日"
memorial SolarMemorial 10-01 AD1949 "国庆节"
memorial LunarMemorial 08-15 AD2000 "妈妈生日"
memorial LunarMemorial 16-02 AD2020 "闰四月初二"
memorial MuharramMemorial 09-01 AD1445 "斋月开始"

wine "$exe" >/dev/null 2>&1 &
sleep 6

# A desktop colour instead of the bare black of the virtual screen.
snap() {  # name geometry
  import -window root "/tmp/lumora-shot.png"
  convert /tmp/lumora-shot.png -crop "$2" +repage -fill '#3a6ea5' -draw 'color 0,0 floodfill' \
    -draw "color %[fx:w-1],%[fx:h-1] floodfill" "$out/$1.png" 2>/dev/null ||
    convert /tmp/lumora-shot.png -crop "$2" +repage -fill '#3a6ea5' -draw 'color 0,0 floodfill' "$out/$1.png"
}

xdotool mousemove 1000 620
sleep 1
snap day-window 300x190+372+150
xdotool mousemove 560 250 click 3
sleep 1.5
snap menu 420x470+372+150
xdotool key l
sleep 2
snap coordinates-dialog 360x260+332+120
xdotool key Escape
sleep 1

# A tool window by its title, with a margin of the desktop around it.
snap_window() {  # name title
  local id
  id=$(xdotool search --name "$2" | head -n 1)
  eval "$(xdotool getwindowgeometry --shell "$id")"
  snap "$1" "$((WIDTH + 20))x$((HEIGHT + 20))+$((X - 10))+$((Y - 10))"
}
# The tools through the menu's tools submenu (实用工具(&U)), by their access keys.
tool() {  # key
  xdotool mousemove 560 250 click 3
  sleep 1.5
  xdotool key u
  sleep 0.5
  xdotool key "$1"
  sleep 2
}

# The conversion: the shown day into the lunar calendar (the second field's
# options are four Tab stops away from the first field).
tool c
xdotool key Tab Tab Tab Tab Right Return
sleep 1
snap_window conversion-tool "公历农历回历互转"
xdotool key Escape
sleep 1

# The lunar months of the shown day's lunar year, shown as the tool opens.
tool l
snap_window tables-tool "计算农历月"
xdotool key Escape
sleep 1

# The 立春 days of 2020..2029: 公历月 二月 and 节气 立春.
tool d
xdotool type 2020
xdotool key Tab Tab
xdotool type 10
xdotool key Tab Down Down Tab Tab Tab Tab Tab Down Down Down Return
sleep 12
snap_window query-tool "查询条件日"
xdotool key Escape
sleep 1

# 实用工具(&U), then 编辑纪念日(&E)...
xdotool mousemove 560 250 click 3
sleep 1.5
xdotool key u
sleep 0.5
xdotool key e
sleep 3
# The first line selected: its date and text fill the rows below.
xdotool mousemove 350 66 click 1
sleep 1
xdotool mousemove 1000 620
snap memorial-editor 660x460+182+14
xdotool key Escape
sleep 1

# The month window: 转到 February 2024 by its year and month lists, then a
# click on the 10th (春节).
xdotool mousemove 560 250 click 3
sleep 1.5
xdotool key x
sleep 3
wine reg add 'HKCU\Software\Lumora' /v ShowCalendarTypeFlag /d 1 /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Lumora' /v FormLeft /d 245 /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Lumora' /v FormTop /d 60 /f >/dev/null 2>&1
wine "$exe" >/dev/null 2>&1 &
sleep 6
# The window at (245, 60): its client area starts about (248, 82).
pick() {  # x y: a click at client pixels
  xdotool mousemove $((248 + $1)) $((82 + $2)) click 1
  sleep 0.5
}
month_of_feb2024() {
  local now_year now_month
  now_year=$(date +%Y) now_month=$(date +%-m)
  for _ in $(seq $((now_year - 2024))); do pick 51 458; done  # 上一年
  if [ "$now_month" -ge 2 ]; then
    for _ in $(seq $((now_month - 2))); do pick 122 458; done  # 上一月
  else
    pick 477 458  # 下一月
  fi
}
month_of_feb2024
# February 2024 begins on a Thursday: the 10th is in row 2, column 7.
pick $((15 + 71 * 6 + 36)) $((99 + 28))
xdotool mousemove 1000 620
sleep 1
snap month-window 540x522+242+58
echo "pictures written to $out"
