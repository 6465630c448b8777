@echo off
rem Several choices at once: the components to install, from a list whose
rem third column ticks the usual ones. One line per ticked component comes
rem back; an empty file means nothing was ticked, one blank line Cancel.
setlocal
set "CHOSEN=%TEMP%\components.txt"
ask check -bn "Which parts shall be installed?" "%~dp0components.csv" "%CHOSEN%"
if errorlevel 1 exit /b 1
for %%F in ("%CHOSEN%") do if %%~zF equ 0 goto nothing
set "FIRST="
set /p FIRST=<"%CHOSEN%"
if not defined FIRST goto cancelled
for /f "usebackq delims=" %%L in ("%CHOSEN%") do (
  echo Installing %%L
  call :install "%%L"
)
say -t Setup -i "The chosen parts are installed."
exit /b 0

:install
rem The real work for one component would go here.
exit /b 0

:nothing
say -t Setup "Nothing was ticked, so nothing was installed."
exit /b 0

:cancelled
exit /b 1
