// The statistics dialogs are not in this build yet.
void RegisterStatsDialogs() {}
