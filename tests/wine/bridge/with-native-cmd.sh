#!/usr/bin/env bash
# Runs a test program through the command that follows (wine-run) with Wine
# loading the system folder's cmd.exe from its file instead of its builtin
# one, in the program and in every process it starts. Wine takes the load
# orders from the environment the first process of a chain was started
# with, never from what a Windows program sets, so it is set here. Every
# other process in the prefix keeps Wine's builtin cmd.exe, whatever the
# file holds.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=};cmd.exe=n"
exec "$@"
