// The text layer's sources join this library as they are written.
