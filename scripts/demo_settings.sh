#!/usr/bin/env bash
# Writes a settings file that maps COM1, COM2, ... to the given devices and
# records them in monitor mode: demo_settings.sh CONFIG_HOME EXE_NAME DEVICE...
set -eu
config_home=$1
name=$2
shift 2
folder="$config_home/Tannbrook/$name"
mkdir -p "$folder"
{
  printf '[General]\r\nShowTimeTags=1\r\nShowChannelId=1\r\n'
  printf '[FormMain]\r\nWidth=900\r\nHeight=420\r\n'
  n=1
  for device in "$@"; do
    printf '[COM%d]\r\nDevice=%s\r\nMonitorChannel=1\r\n' "$n" "$device"
    n=$((n + 1))
  done
} > "$folder/$name.ini"
