# Shared by run.sh and test.sh: install what is missing, configure and build.

VRIN_PACKAGES=(
    g++ cmake make pkg-config
    qt6-base-dev qt6-qpa-plugins qt6-translations-l10n libgl-dev
    libsqlite3-dev libicu-dev libjpeg-dev
    libfreexl-dev libzip-dev libpugixml-dev libxlsxwriter-dev libgsf-1-dev libexpat1-dev
    googletest libgtest-dev
    python3 python3-openpyxl python3-xlrd
    fonts-noto-cjk fonts-arphic-ukai fonts-arphic-uming fonts-wqy-zenhei shared-mime-info
    poppler-utils
)

vrin_missing_packages() {
    local pkg
    for pkg in "${VRIN_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            echo "$pkg"
        fi
    done
}

vrin_install_packages() {
    local missing
    missing=$(vrin_missing_packages)
    [ -z "$missing" ] && return 0
    echo "Installing: $(echo $missing | tr '\n' ' ')"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo="sudo"
        else
            echo "These packages are missing and installing them needs root: $missing" >&2
            return 1
        fi
    fi
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update
    # shellcheck disable=SC2086
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
}

# vrin_build DIR [TARGET...]: configures and builds everything, or only the targets named.
vrin_build() {
    local build_dir=$1
    shift
    cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release
    local targets=()
    [ $# -gt 0 ] && targets=(--target "$@")
    cmake --build "$build_dir" -j2 "${targets[@]}"
}
