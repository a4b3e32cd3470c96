// Contextes de l'application
#define IDH_FICHIER   1000
#define IDH_OUVRIR    1001 /* Ouvrir */
#define IDH_COPIER    1002
#define IDH_COLLER    1002
#define IDH_OUVRIR    1003
#define IDH_OUBLIE    1004
#define IDH_FICHIER   1000
