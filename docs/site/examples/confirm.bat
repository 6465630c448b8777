@echo off
rem Ask before a long job, run it, and report how it ended.
setlocal
set "ANSWER=%TEMP%\confirm-answer.txt"
ask yn "Copy the reports to the server now?" "%ANSWER%" || exit /b 1
set "YES="
set /p YES=<"%ANSWER%"
if not "%YES%"=="yes" exit /b 0

run robocopy "C:\Reports" "\\server\reports" /MIR
if errorlevel 8 (
  say -t Copy -e "The copy failed (robocopy exit code %ERRORLEVEL%)."
  exit /b 1
)
say -t Copy -i "The reports are on the server."
