@echo off
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
