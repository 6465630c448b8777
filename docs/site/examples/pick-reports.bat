@echo off
rem Files of one type, starting in the right folder: one, a new name, and
rem several at once (one full path per line).
setlocal
set "ANSWER=%TEMP%\pick.txt"
ask file "-folder=C:\Reports" "-filter=CSV files|*.csv|All files|*.*" "Open which report?" "%ANSWER%"
if errorlevel 1 exit /b 1
set "REPORT="
set /p REPORT=<"%ANSWER%"
if not defined REPORT exit /b 1

ask save "-folder=C:\Reports" "-filter=CSV files|*.csv" "Save the summary as" "%ANSWER%"
if errorlevel 1 exit /b 1
set "TARGET="
set /p TARGET=<"%ANSWER%"
if defined TARGET copy /y "%REPORT%" "%TARGET%" >nul

ask files "-folder=C:\Reports" "-filter=CSV files|*.csv" "Which reports shall be archived?" "%ANSWER%"
if errorlevel 1 exit /b 1
for /f "usebackq delims=" %%F in ("%ANSWER%") do move "%%F" "C:\Reports\Archive\" >nul
exit /b 0
