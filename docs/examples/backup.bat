@echo off
rem A backup with a progress window. The window follows the lines this
rem batch file appends to the feed file; the answer file appears only when
rem the person presses Cancel, so "if exist" tells the batch file to stop.
setlocal
set "FEED=%TEMP%\backup.feed"
set "ANSWER=%TEMP%\backup.answer"
set "TARGET=E:\Backup"
del "%FEED%" "%ANSWER%" 2>nul
start "" ask progress "Preparing the backup..." "%FEED%" "%ANSWER%"

>>"%FEED%" echo #Copying the documents
robocopy "%USERPROFILE%\Documents" "%TARGET%\Documents" /e >nul
if errorlevel 8 goto failed
>>"%FEED%" echo 40
if exist "%ANSWER%" goto cancelled

>>"%FEED%" echo #Copying the pictures
robocopy "%USERPROFILE%\Pictures" "%TARGET%\Pictures" /e >nul
if errorlevel 8 goto failed
>>"%FEED%" echo 80
if exist "%ANSWER%" goto cancelled

>>"%FEED%" echo #Checking the copy
>>"%FEED%" echo pulsate
robocopy "%USERPROFILE%\Documents" "%TARGET%\Documents" /e /l /njh /njs >"%TEMP%\backup.check"
>>"%FEED%" echo 100
>>"%FEED%" echo close
say -notify -t Backup -i "The backup has finished."
exit /b 0

:cancelled
say -t Backup -w "The backup was stopped. The copy in %TARGET% is not complete."
exit /b 1

:failed
>>"%FEED%" echo close
say -t Backup -e "The backup failed: robocopy could not copy everything."
exit /b 1
