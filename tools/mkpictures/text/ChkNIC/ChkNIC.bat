#!/usr/bin/env -S sh #
:<<"::END_OF_BATCH"
@echo off
rem This file is read by two interpreters. cmd.exe takes the line above for
rem a label, runs this part and leaves at "goto :eof"; its only complaint is
rem about the first line, in the hidden window. Elsewhere the first line
rem starts a POSIX shell, which takes everything up to ::END_OF_BATCH as text
rem and runs the part after it. Each line of that part ends in a comment, so
rem that the carriage returns this file keeps for cmd.exe mean nothing to it.
rem ChkNIC.bat - looks for the KXU-300 wireless USB adapter.
rem
rem The setup wizard starts this script from its own folder and then reads
rem C:\ChkNIC.txt: a line that contains "matching device(s) found" means the
rem adapter is plugged in. The report is written in the same words as the
rem device console, which is used when it ships in this folder.

set REPORT=C:\ChkNIC.txt
set HWID=USB\VID_1B3C^&PID_7A21
if exist "%REPORT%" del "%REPORT%"

if not exist "%~dp0devcon.exe" goto wmi
"%~dp0devcon.exe" find "%HWID%*" > "%REPORT%"
goto end

:wmi
rem Without the device console, ask WMI (Windows XP and later) for present
rem devices whose ID starts with the adapter's hardware ID.
set COUNT=0
for /f %%n in ('wmic path Win32_PnPEntity where "DeviceID like 'USB\\VID_1B3C&PID_7A21%%'" get DeviceID /format:list 2^>nul ^| find /c "DeviceID="') do set COUNT=%%n
echo KXU-300 wireless USB adapter check> "%REPORT%"
if not "%COUNT%"=="0" goto found
echo No matching devices found.>> "%REPORT%"
goto end

:found
echo %COUNT% matching device(s) found.>> "%REPORT%"

:end
set COUNT=
set HWID=
set REPORT=
goto :eof
::END_OF_BATCH
# The same check where there is no cmd.exe: the adapter is a USB device
# 1b3c:7a21 in sysfs. C:\ChkNIC.txt is the file ChkNIC.txt in the folder that
# stands for drive C: $QUILLON_C_DRIVE, by default ~/.local/state/quillon/c.
# QUILLON_SIMULATE_ADAPTER=1 counts one adapter more, for demonstrations on a
# PC without one.
drive=${QUILLON_C_DRIVE:-${XDG_STATE_HOME:-$HOME/.local/state}/quillon/c} #
report=$drive/ChkNIC.txt #
mkdir -p "$drive" || exit 1 #
rm -f "$report" #
count=0 #
for device in /sys/bus/usb/devices/*; do #
  [ -r "$device/idVendor" ] && [ -r "$device/idProduct" ] || continue #
  if [ "$(cat "$device/idVendor")" = 1b3c ] && [ "$(cat "$device/idProduct")" = 7a21 ]; then #
    count=$((count + 1)) #
  fi #
done #
[ "${QUILLON_SIMULATE_ADAPTER:-0}" = 1 ] && count=$((count + 1)) #
# Written aside and moved in place, so the wizard never reads half a report.
{ #
  echo "KXU-300 wireless USB adapter check" #
  if [ "$count" -gt 0 ]; then #
    echo "$count matching device(s) found." #
  else #
    echo "No matching devices found." #
  fi #
} >"$report.part" && mv -f "$report.part" "$report" #
