# Starts a CUPS server (when none runs) with two PDF printer queues for the tests:
# LudoraPDF (the default) and LudoraPDF2. Their PDFs land in
# $LUDORA_PRINT_OUT/q1 and $LUDORA_PRINT_OUT/q2.
# shellcheck shell=bash

export LUDORA_PRINT_OUT=/var/spool/cups-pdf/ludora-test

cups_running() { lpstat -r 2>/dev/null | grep -q '^scheduler is running'; }

start_test_printers() {
    cups_running || as_root cupsd
    local i
    for i in $(seq 200); do cups_running && break; sleep 0.05; done
    cups_running || { echo "CUPS did not start" >&2; return 1; }
    as_root mkdir -p "$LUDORA_PRINT_OUT/q1" "$LUDORA_PRINT_OUT/q2"
    local conf
    for i in 1 2; do
        conf=/etc/cups/cups-pdf-ludora$i.conf
        printf 'Out %s\nLabel 1\nTitlePref 1\nUserUMask 0022\n' "$LUDORA_PRINT_OUT/q$i" |
            as_root tee "$conf" >/dev/null
    done
    local ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd
    as_root lpadmin -p LudoraPDF -E -v cups-pdf:/ludora1 -P "$ppd" -o pdftops-renderer-default=pdftocairo
    as_root lpadmin -p LudoraPDF2 -E -v cups-pdf:/ludora2 -P "$ppd" -o pdftops-renderer-default=pdftocairo
    as_root lpadmin -d LudoraPDF
    unset PRINTER LPDEST
    export LUDORA_REQUIRE_PRINTERS=1
}
