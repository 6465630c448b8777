@echo off
rem A question with buttons that say what they do.
setlocal
set "ANSWER=%TEMP%\save-changes.txt"
ask buttons -title=Report -default=Save "The report has changed. Save it?" "Save|Discard|Cancel" "%ANSWER%"
if errorlevel 1 exit /b 1
set "CHOICE="
set /p CHOICE=<"%ANSWER%"
if "%CHOICE%"=="Save" copy /y report.new report.txt >nul
if "%CHOICE%"=="Discard" del report.new
if not defined CHOICE echo Cancelled: the report stays as it is.
exit /b 0
