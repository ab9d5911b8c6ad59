#!/usr/bin/env bash
# The CI workflows against the published workflow schema, with the validator
# from the npm registry. A copy with a misspelt key must be refused too, so a
# validator that waves everything through cannot pass for a check.
source "$(dirname "${BASH_SOURCE[0]}")/../support/shell-test.sh"
command -v npx >/dev/null || die "no npx (scripts/bootstrap.sh installs Node.js and npm)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
valid() { npx --yes @action-validator/cli@0.6.0 "$1" >"$work/report" 2>&1; }
# Refused by the schema, not for want of the validator.
refused() { ! valid "$1" && grep -q '"errors"' "$work/report"; }

for workflow in "$ZQ_ROOT"/.github/workflows/*.yml; do
  name=${workflow#"$ZQ_ROOT"/}
  if valid "$workflow"; then pass "$name validates"; else cat "$work/report" >&2; fail "$name validates"; fi
done

sed 's/^\( *\)runs-on:/\1runs_on:/' "$ZQ_ROOT/.github/workflows/ci.yml" >"$work/misspelt.yml"
check "a copy with 'runs_on' for 'runs-on' is refused" refused "$work/misspelt.yml"
finish
