// Holds the platform library together until its first interface lands.
