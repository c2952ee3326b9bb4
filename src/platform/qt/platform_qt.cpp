// Holds the Qt platform library together until its first implementation lands.
