#!/usr/bin/env bash
# Fails when a source file includes a layer above its own.
#   check-layers.sh [ROOT]      checks the tree at ROOT (default: the repository)
#   check-layers.sh --self-test plants an upward include in a copy and expects
#                               the check to refuse it
#
# Inside ui/ the layers run, from the bottom:
#   0 value types   1 zip reader   2 XML parser   3 skin source   4 renderer
#   5 window base   6 manager and control base   7 containers   8 controls
#   9 builder
# ui/ and statistics/ include nothing of the other subsystems; the uninstaller
# sits on both.
set -euo pipefail

layer_of() {
  case "$1" in
  ui/UIString.* | ui/UIPtrArray.* | ui/UIStringPtrMap.* | ui/UIRect.* | ui/Delegate.* | \
    ui/DelegateListUI.* | ui/UIAttributeValue.* | ui/UIEventTypes.h | \
    ui/Win32Handles.h | ui/SaturatingMath.h) echo 0 ;;
  ui/Zip*) echo 1 ;;
  # Reading a skin file by name asks the skin source where the skin is.
  ui/XmlDocumentSkinArchive.cpp) echo 3 ;;
  ui/Xml*) echo 2 ;;
  ui/SkinSourceUI.*) echo 3 ;;
  ui/Renderer* | ui/RenderResourcesUI.h | ui/ClipRegionUI.* | ui/GdiBlend.* | \
    ui/SoftwareAlphaBlend.cpp | ui/StbImage.cpp | ui/ImageDescriptionUI.* | ui/SkinFont.* | \
    ui/ImageCacheUI.*) echo 4 ;;
  ui/WindowWnd.*) echo 5 ;;
  # The state images that buttons, options and scroll bars share.
  ui/WindowManager* | ui/ControlUI* | ui/controls/ControlStateUI.*) echo 6 ;;
  # Every container may own two scroll bars.
  ui/ContainerUI* | ui/controls/ScrollBarUI*) echo 7 ;;
  # The child layout builds its child from a skin file.
  ui/DialogBuilder.* | ui/ControlClassTable.* | ui/SkinBuildLimits.* | \
    ui/controls/ChildLayoutUI.*) echo 9 ;;
  ui/controls/*) echo 8 ;;
  *) echo unknown ;;
  esac
}

check() {
  local root=$1 failures=0 file layer include target
  cd "$root"
  while IFS= read -r file; do
    layer=$(layer_of "$file")
    if [ "$layer" = unknown ]; then
      echo "$file: not in a layer (add it to scripts/check-layers.sh)"
      failures=$((failures + 1))
      continue
    fi
    while IFS= read -r include; do
      case "$include" in
      uninstaller/* | statistics/* | tests/*)
        echo "$file: includes $include from outside the framework"
        failures=$((failures + 1)) ;;
      ui/*)
        target=$(layer_of "$include")
        if [ "$target" = unknown ] || [ "$target" -gt "$layer" ]; then
          echo "$file (layer $layer): includes $include (layer $target)"
          failures=$((failures + 1))
        fi ;;
      esac
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
  done < <(find ui -name '*.h' -o -name '*.cpp' | sort)
  while IFS= read -r file; do
    if grep -Eq '^[[:space:]]*#[[:space:]]*include[[:space:]]*"(ui|uninstaller|tests)/' "$file"; then
      echo "$file: statistics includes another subsystem"
      failures=$((failures + 1))
    fi
  done < <(find statistics -name '*.h' -o -name '*.cpp' | sort)
  if [ "$failures" -ne 0 ]; then
    echo "$failures upward include(s)"
    return 1
  fi
  echo "layers: every include points downwards"
}

if [ "${1:-}" = --self-test ]; then
  root=$(cd "$(dirname "$0")/.." && pwd)
  copy=$(mktemp -d)
  trap 'rm -rf "$copy"' EXIT
  cp -r "$root/ui" "$root/statistics" "$copy/"
  check "$copy" >/dev/null || { echo "self-test: the clean tree already fails"; exit 1; }
  # The value types reaching up to the builder.
  printf '#include "ui/DialogBuilder.h"\n' >>"$copy/ui/UIRect.h"
  if (check "$copy"); then
    echo "self-test: a planted upward include went unnoticed"
    exit 1
  fi
  echo "self-test: the planted upward include was refused"
  exit 0
fi
check "${1:-$(cd "$(dirname "$0")/.." && pwd)}"
