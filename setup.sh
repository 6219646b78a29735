#!/bin/sh
# Installs what building, running and testing ZUL needs on Debian 12 (run as root).
set -e
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends \
    build-essential cmake ninja-build pkg-config \
    qt6-base-dev libgl-dev qt6-qpa-plugins qt6-translations-l10n \
    libsqlite3-dev libkainjow-mustache-dev libgmime-3.0-dev libarchive-dev \
    libbenchmark-dev zlib1g-dev \
    fonts-dejavu-core xvfb xauth
# Reports name Arial; the Liberation fonts have its metrics, so pages lay out alike everywhere.
apt-get install -y -q --no-install-recommends fonts-liberation2 ||
    apt-get install -y -q --no-install-recommends fonts-liberation
