// Holds the session-control logic library together until its first unit lands.
