@echo off
rem A small wizard: a name, a colour from a list, and a last step with
rem Back and Done. A blank answer means Back (or Cancel on the first page).
setlocal
set "ANSWER=%TEMP%\wizard-answer.txt"

:name
ask text -bn "What is your name?" "%ANSWER%"
if errorlevel 1 goto failed
set "NAME="
set /p NAME=<"%ANSWER%"
if not defined NAME goto cancelled

:colour
ask list -bn "Pick a colour, %NAME%:" "%~dp0colours.csv" "%ANSWER%"
if errorlevel 1 goto failed
set "COLOUR="
set /p COLOUR=<"%ANSWER%"
if not defined COLOUR goto name

:note
ask text -bd "A note to go with it (Back returns to the colours):" "%ANSWER%"
if errorlevel 1 goto failed
set "NOTE="
set /p NOTE=<"%ANSWER%"
if not defined NOTE goto colour

say -t Wizard -i "Thank you, %NAME%. Colour %COLOUR%, note: %NOTE%"
exit /b 0

:cancelled
say -t Wizard "Nothing was changed."
exit /b 1

:failed
rem ask has shown its own message already.
exit /b 1
