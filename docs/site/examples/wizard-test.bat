@echo off
rem Runs wizard.bat without anybody at the screen: every answer comes from
rem wizard-answers.txt, the record (ASK_RECORD) of one run made by hand,
rem and this run is recorded too. The two records must be equal: then the
rem wizard asked the same questions, got the same answers and said the
rem same things. Exit status 0 when they are, 1 when not.
setlocal
rem The answers are read from a copy: beside it ask keeps how many of its
rem lines are taken (wizard-answers.txt.taken), which must start afresh.
set "ASK_ANSWERS=%TEMP%\wizard-answers.txt"
set "ASK_RECORD=%TEMP%\wizard-record.txt"
copy /y "%~dp0wizard-answers.txt" "%ASK_ANSWERS%" >nul
del "%ASK_ANSWERS%.taken" 2>nul
del "%ASK_RECORD%" 2>nul
call "%~dp0wizard.bat"
if errorlevel 1 goto failed
fc /b "%ASK_ANSWERS%" "%ASK_RECORD%" >nul
if errorlevel 1 goto differs
echo The wizard ran as recorded.
exit /b 0

:differs
echo The wizard did not run as recorded: compare "%ASK_RECORD%" with the answers.
exit /b 1

:failed
echo The wizard ended with status 1: see the message above.
exit /b 1
