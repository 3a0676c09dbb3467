"""The window managers and compositors the Linux edition is tested and measured
under, by the names the tests and tools/compare_peers.py know them."""

from desktop import OPENBOX, WindowManager

# Each with what it needs: xfwm4 and mutter a session bus of their own, i3 its
# stock settings without the programs they start (its set-up wizard grabs the
# keyboard) and its bar, and with every window floating, as dialogs and
# fixed-size windows are.
I3_WITH_STOCK_SETTINGS = ("grep -v '^exec' /etc/i3/config | sed '/^bar {/,/^}/d' > \"$HOME/i3.config\" && "
                          "echo 'for_window [class=\".*\"] floating enable' >> \"$HOME/i3.config\" && "
                          "exec i3 -c \"$HOME/i3.config\"")
MANAGERS = {
    "Openbox": OPENBOX,
    "Xfwm4": WindowManager("xfwm4 with its compositor", ["dbus-run-session", "--", "xfwm4", "--compositor=on"],
                           composites=True),
    "Mutter": WindowManager("mutter (GNOME's)",
                            ["dbus-run-session", "--", "mutter", "--x11", "--replace", "--sm-disable"],
                            composites=True),
    "I3": WindowManager("i3", ["sh", "-c", I3_WITH_STOCK_SETTINGS], keeps_above=False),
    "Twm": WindowManager("twm", ["twm"], keeps_above=False, activates=False, ewmh=False),
    "OpenboxWithFadingCompositor": WindowManager("openbox with compton --fading --shadow", ["openbox"],
                                                 ["compton", "--fading", "--shadow"], composites=True),
}
