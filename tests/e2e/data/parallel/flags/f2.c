/* LICENSED under the project terms */
int marker;
