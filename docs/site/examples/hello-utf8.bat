@echo off
chcp 65001 >nul
rem Text in any language: this file is saved as UTF-8 without a byte-order
rem mark and uses the UTF-8 set of the tools (utf8\ask.exe, utf8\say.exe),
rem so that a name such as Łukasz, Ελένη or 王芳 reaches the answer file,
rem the batch file and the message unchanged. Windows 10 1903 or later.
setlocal
set "TOOLS=%~dp0..\utf8"
set "ANSWER=%TEMP%\hello-answer.txt"

"%TOOLS%\ask" text "Your name? · Wie heißt du? · Как тебя зовут? · 你叫什么名字？" "%ANSWER%"
if errorlevel 1 exit /b 1
set "NAME="
set /p NAME=<"%ANSWER%"
if not defined NAME exit /b 0

"%TOOLS%\ask" list "Where are you, %NAME%?" "%~dp0cities.csv" "%ANSWER%"
if errorlevel 1 exit /b 1
set "CITY="
set /p CITY=<"%ANSWER%"

"%TOOLS%\ask" dir "A folder for your photos:" "%ANSWER%"
if errorlevel 1 exit /b 1
set "FOLDER="
set /p FOLDER=<"%ANSWER%"

"%TOOLS%\say" -t Hello -i "%NAME% · %CITY% · %FOLDER%"
