@echo off
rem Removes the Thumbs.db thumbnail caches that Explorer leaves in the folders
rem of the user's profile (hidden or not).
if "%USERPROFILE%"=="" exit /b 0
del /f /s /q /a "%USERPROFILE%\Thumbs.db" >nul 2>&1
exit /b 0
